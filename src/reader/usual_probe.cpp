#include "reader/usual_probe.hpp"

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
