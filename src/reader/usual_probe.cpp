#include "reader/usual_probe.hpp"

#include <bit>
#include <cstdint>
#include <cstring>

#include "model/probe_type.hpp"
#include "reader/quote_search.hpp"
#include "reader/unescape.hpp"

namespace kiv {

namespace {

// A cursor over one line: each step either takes what it expects and moves
// on, or fails and leaves the line to the general reading.
class Cursor {
  public:
    explicit Cursor(std::string_view text) : p_(text.data()), end_(text.data() + text.size()) {}

    bool atEnd() const { return p_ == end_; }

    template <std::size_t N> bool take(const char (&literal)[N]) {
        constexpr std::size_t kLength = N - 1;
        if (static_cast<std::size_t>(end_ - p_) < kLength || std::memcmp(p_, literal, kLength) != 0)
            return false;
        p_ += kLength;
        return true;
    }
    // "0", or one to nine decimal digits that do not begin with 0, then the
    // closing quote: the numbers whose value every reading agrees on.
    bool number(std::uint32_t& value) { return numberAt(value, p_); }
    // The same, also giving the digits as written.
    bool number(std::uint32_t& value, std::string_view& written) {
        const char* const digits = p_;
        if (!numberAt(value, digits)) return false;
        written = std::string_view(digits, static_cast<std::size_t>(p_ - 1 - digits));
        return true;
    }

    // The text up to the next double quote, which is taken too.
    bool quoted(std::string_view& text) {
        const char* const close = findQuote(p_, end_);
        if (close == end_) return false;
        text = std::string_view(p_, static_cast<std::size_t>(close - p_));
        p_ = close + 1;
        return true;
    }
    // The same, telling whether the text holds an ampersand.
    bool quoted(std::string_view& text, bool& entity) {
        const char* const close = findQuoteNotingEntity(p_, end_, entity);
        if (close == end_) return false;
        text = std::string_view(p_, static_cast<std::size_t>(close - p_));
        p_ = close + 1;
        return true;
    }

  private:
    bool numberAt(std::uint32_t& value, const char* p) {
        if constexpr (std::endian::native == std::endian::little) {
            if (end_ - p >= 9) return numberOfEightBytes(value, p);
        }
        return numberByBytes(value, p);
    }

    // Up to eight digits and the quote, read as one word: no branch on the
    // number's length (which the processor could not foresee).
    bool numberOfEightBytes(std::uint32_t& value, const char* p) {
        std::uint64_t word;
        std::memcpy(&word, p, sizeof word);
        const std::uint64_t digits = word ^ 0x3030303030303030ULL; // '0'..'9' -> 0..9
        // The high bit of every byte that is not a digit: 10 or more once
        // '0' is taken away (no carry crosses a byte).
        const std::uint64_t others =
            (((digits & 0x7f7f7f7f7f7f7f7fULL) + 0x7676767676767676ULL) | digits) &
            0x8080808080808080ULL;
        if (others == 0) return numberByBytes(value, p); // nine digits, or more
        const auto count = static_cast<unsigned>(std::countr_zero(others)) >> 3;
        if (count == 0 || p[count] != '"' || (count > 1 && *p == '0')) return false;
        // The digits to the top bytes, zeros below them, then pairs, fours
        // and eights of digits combined.
        std::uint64_t v = digits << (8 * (8 - count));
        v = (v * 2561) >> 8;
        v = ((v & 0x00ff00ff00ff00ffULL) * 6553601) >> 16;
        v = ((v & 0x0000ffff0000ffffULL) * 42949672960001ULL) >> 32;
        value = static_cast<std::uint32_t>(v);
        p_ = p + count + 1;
        return true;
    }

    bool numberByBytes(std::uint32_t& value, const char* p) {
        if (p == end_ || *p < '0' || *p > '9') return false;
        std::uint32_t v = static_cast<std::uint32_t>(*p - '0');
        ++p;
        if (v != 0) {
            const char* const last = end_ - p > 8 ? p + 8 : end_;
            while (p != last && *p >= '0' && *p <= '9') {
                v = v * 10 + static_cast<std::uint32_t>(*p - '0');
                ++p;
            }
        }
        if (p == end_ || *p != '"') return false;
        value = v;
        p_ = p + 1;
        return true;
    }

    const char* p_;
    const char* end_;
};

} // namespace

bool readUsualProbe(std::string_view first, std::string_view second, UsualProbe& probe) {
    Cursor head(first);
    std::string_view type;
    if (!head.take("type=\"") || !head.quoted(type)) return false;
    probe.scCount = 0;
    probe.evalNo = {};
    if (head.take(" sc_count=\"")) {
        if (!head.number(probe.scCount)) return false;
    } else if (head.take(" eval_no=\"")) {
        std::uint32_t value = 0;
        if (!head.number(value, probe.evalNo)) return false;
    }
    if (!head.take(" nesting=\"") || !head.number(probe.nesting) || !head.atEnd()) return false;
    probe.keyword = classifyProbeType(type);
    if (probe.keyword == nullptr) return false;

    Cursor body(second);
    if (!body.take("line=\"") || !body.number(probe.line)) return false;
    probe.hasCount1 = body.take(" count1=\"");
    probe.counters[0] = 0;
    if (probe.hasCount1 && !body.number(probe.counters[0])) return false;
    probe.counters[1] = 0;
    if (body.take(" count2=\"") && !body.number(probe.counters[1])) return false;
    return body.take(" descr=\"") && body.quoted(probe.description, probe.escaped) &&
           body.take(" />") && body.atEnd();
}

void fillUsualRecord(const UsualProbe& probe, ProbeRecord& record) {
    record.type = probe.keyword->code;
    record.typeName = probe.keyword->keyword;
    record.probeLine = probe.line;
    record.sourceLine = probe.line;
    record.directiveLine = 0;
    record.sequence = 0;
    record.counters = probe.counters;
    record.outcomeClass = outcomeClassOf(probe.keyword->code, probe.hasCount1);
    record.nesting = probe.nesting;
    record.scCount = probe.scCount;
    record.description.clear();
    if (!probe.evalNo.empty()) {
        record.description.assign(probe.evalNo);
        record.description += ": ";
    }
    if (probe.escaped) {
        unescapeAppend(probe.description, record.description);
    } else {
        record.description.append(probe.description);
    }
    record.context.clear();
    record.owner = nullptr;
    record.partFunction = nullptr;
}

} // namespace kiv
