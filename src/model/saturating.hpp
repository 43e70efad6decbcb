#pragma once

#include <cstdint>
#include <limits>

namespace kiv {

// Counter sums never wrap: they stop at the largest value the counter holds.
constexpr std::uint32_t saturatingAdd(std::uint32_t a, std::uint32_t b) {
    const std::uint32_t sum = a + b;
    return sum < a ? std::numeric_limits<std::uint32_t>::max() : sum;
}

// Execution cost sums stop at either end of the signed 32-bit range.
constexpr std::int32_t saturatingAdd(std::int32_t a, std::int32_t b) {
    const std::int64_t sum = static_cast<std::int64_t>(a) + b;
    if (sum > std::numeric_limits<std::int32_t>::max())
        return std::numeric_limits<std::int32_t>::max();
    if (sum < std::numeric_limits<std::int32_t>::min())
        return std::numeric_limits<std::int32_t>::min();
    return static_cast<std::int32_t>(sum);
}

} // namespace kiv
