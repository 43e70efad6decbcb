#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace kiv {

// Appends Latin-1 text as UTF-8 XML character data, fit for element text and
// attribute values alike: the five special characters as entities, tab, line
// feed and carriage return as character references (so that attribute values
// keep them), every other byte below 0x20, which XML 1.0 cannot carry, as
// U+FFFD, and bytes from 0x80 up as the two-byte UTF-8 form of their
// character.
void appendXmlText(std::string& out, std::string_view latin1);

// covered/valid in ten-thousandths, rounded down; kWholeRate (1) when nothing
// is valid.
inline constexpr std::uint16_t kWholeRate = 10000;
std::uint16_t rateOf(std::uint64_t covered, std::uint64_t valid);

// Appends a rate as a decimal of at most four places, without trailing zeros
// ("0.6666", "0.5", "0", "1").
void appendRate(std::string& out, std::uint16_t rate);

// Appends covered/valid so.
inline void appendRate(std::string& out, std::uint64_t covered, std::uint64_t valid) {
    appendRate(out, rateOf(covered, valid));
}

} // namespace kiv
