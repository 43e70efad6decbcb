#pragma once

#include <cstdint>

#include "model/coverage_function.hpp"

namespace kiv {

// Measurement points of one probe type outside the multi-condition kinds.
int pointsOfType(unsigned type);

// The function's measurement point count: its current count plus every
// probe's points. A run of multi-condition probes after a decision replaces
// the decision's two points by one per condition; whether the previous probe
// was a multi-condition probe carries over from the previously counted
// function. The result is kept within the unsigned 32-bit range.
std::uint32_t countPoints(const CoverageFunction& function);

} // namespace kiv
