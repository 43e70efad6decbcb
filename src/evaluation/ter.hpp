#pragma once

#include <cstdint>
#include <string>

namespace kiv {

// Test effectiveness ratio: hits as a whole percentage of all, rounded down;
// 100 when there is nothing to cover.
constexpr std::uint32_t computeTer(std::uint32_t hits, std::uint32_t all) {
    if (all == 0) return 100;
    const std::uint64_t percent = static_cast<std::uint64_t>(hits) * 100U / all;
    // Only reachable with more hits than outcomes; kept within range all the same.
    return percent > 0xFFFFFFFFU ? 0xFFFFFFFFU : static_cast<std::uint32_t>(percent);
}

// " 75 % (  3/  4)": each number right-aligned in at least three places.
std::string terText(std::uint32_t ter, std::uint32_t hits, std::uint32_t all);

// A function's statement text: the padded ratio followed by " statement", or
// "N.A. statement" when the function has no statement coverage.
std::string functionStatementText(bool available, std::uint32_t ter, std::uint32_t hits,
                                  std::uint32_t all);

// A file's statement text: "100 % (  0/  0) statement" when none of its
// functions has statement coverage, then " (N.A. for n functions)" when some
// lack it.
std::string fileStatementText(std::uint32_t availableFunctions, std::uint32_t ter,
                              std::uint32_t hits, std::uint32_t all, std::uint32_t naFunctions);

// The overall statement text, in plain unpadded numbers.
std::string overallStatementText(std::uint32_t availableFunctions, std::uint32_t ter,
                                 std::uint32_t hits, std::uint32_t all, std::uint32_t naFunctions);

} // namespace kiv
