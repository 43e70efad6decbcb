#pragma once

#include <cstdint>
#include <string_view>

namespace kiv {

// Numbers in a report are written in C notation: "0x" or "0X" in front reads
// hexadecimal, a leading "0" octal, anything else decimal. Leading white space
// and one sign are accepted, reading stops at the first character that does
// not belong to the number, and text without a number reads as 0.

// Counters, lines and counts: unsigned, clamped to 32 bits. A number beyond
// 4294967295, or any negative number other than zero, gives 4294967295.
std::uint32_t readUnsigned(std::string_view text);

// Execution costs: signed, clamped to the 32-bit signed range.
std::int32_t readSigned(std::string_view text);

} // namespace kiv
