#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "model/probe_type.hpp"

namespace kiv {

// mcdc descriptions carry the generator's own +/- verdicts, which differ
// between runs: they compare with every "-" read as "+".
inline char mcdcNeutral(char c) {
    return c == '-' ? '+' : c;
}

inline bool sameDescription(unsigned type, std::string_view a, std::string_view b) {
    if (type != kMcdc) return a == b;
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (mcdcNeutral(a[i]) != mcdcNeutral(b[i])) return false;
    return true;
}

// Only ternary probes tell apart by their number on the line.
inline std::uint32_t significantSequence(unsigned type, std::uint32_t sequence) {
    return type == kTernary ? sequence : 0;
}

} // namespace kiv
