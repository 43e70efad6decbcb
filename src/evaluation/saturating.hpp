#pragma once

#include <cstdint>
#include <limits>

namespace kiv {

constexpr std::uint32_t kCountLimit = std::numeric_limits<std::uint32_t>::max();

// Counts of the evaluation never wrap: a sum that would pass the largest
// unsigned 32-bit value stays there.
constexpr std::uint32_t saturatingAdd(std::uint32_t a, std::uint32_t b) {
    const std::uint32_t sum = a + b;
    return sum < a ? kCountLimit : sum;
}

constexpr void addSaturating(std::uint32_t& total, std::uint32_t value) {
    total = saturatingAdd(total, value);
}

// A 64-bit intermediate brought back into the unsigned 32-bit range.
constexpr std::uint32_t clampToCount(std::int64_t value) {
    if (value < 0) return 0;
    if (value > static_cast<std::int64_t>(kCountLimit)) return kCountLimit;
    return static_cast<std::uint32_t>(value);
}

} // namespace kiv
