#include "reader/numbers.hpp"

#include <limits>

namespace kiv {

namespace {

bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

int digitValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'z') return c - 'a' + 10;
    if (c >= 'A' && c <= 'Z') return c - 'A' + 10;
    return 99;
}

struct Magnitude {
    std::uint64_t value = 0;
    bool negative = false;
    bool overflow = false; // beyond 64 bits
};

// The sign and the absolute value of the number at the front of text.
Magnitude scan(std::string_view text) {
    Magnitude m;
    std::size_t i = 0;
    while (i < text.size() && isSpace(text[i]))
        ++i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        m.negative = text[i] == '-';
        ++i;
    }
    unsigned base = 10;
    if (i < text.size() && text[i] == '0') {
        // "0x" counts as a prefix only when a hexadecimal digit follows it;
        // otherwise the number is the "0" alone.
        if (i + 2 < text.size() && (text[i + 1] == 'x' || text[i + 1] == 'X') &&
            digitValue(text[i + 2]) < 16) {
            base = 16;
            i += 2;
        } else {
            base = 8;
        }
    }
    constexpr std::uint64_t kMax = std::numeric_limits<std::uint64_t>::max();
    for (; i < text.size(); ++i) {
        const int digit = digitValue(text[i]);
        if (digit >= static_cast<int>(base)) break;
        if (m.value > (kMax - static_cast<unsigned>(digit)) / base) m.overflow = true;
        if (!m.overflow) m.value = m.value * base + static_cast<unsigned>(digit);
    }
    return m;
}

} // namespace

std::uint32_t readUnsigned(std::string_view text) {
    constexpr std::uint32_t kMax = std::numeric_limits<std::uint32_t>::max();
    // Nearly every number of a report is a plain decimal of a few digits:
    // nine digits cannot overflow.
    if (!text.empty() && text.size() <= 9 && text[0] >= '1' && text[0] <= '9') {
        std::uint32_t value = 0;
        for (const char c : text) {
            if (c < '0' || c > '9') break;
            value = value * 10 + static_cast<std::uint32_t>(c - '0');
        }
        return value;
    }
    if (text == "0") return 0;
    const Magnitude m = scan(text);
    if (m.overflow) return kMax;
    if (m.negative && m.value != 0) return kMax;
    return m.value > kMax ? kMax : static_cast<std::uint32_t>(m.value);
}

std::int32_t readSigned(std::string_view text) {
    constexpr std::int64_t kMin = std::numeric_limits<std::int32_t>::min();
    constexpr std::int64_t kMax = std::numeric_limits<std::int32_t>::max();
    const Magnitude m = scan(text);
    if (m.negative) {
        if (m.overflow || m.value > static_cast<std::uint64_t>(-kMin))
            return static_cast<std::int32_t>(kMin);
        return static_cast<std::int32_t>(-static_cast<std::int64_t>(m.value));
    }
    if (m.overflow || m.value > static_cast<std::uint64_t>(kMax))
        return static_cast<std::int32_t>(kMax);
    return static_cast<std::int32_t>(m.value);
}

} // namespace kiv
