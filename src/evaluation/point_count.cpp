#include "evaluation/point_count.hpp"

#include "evaluation/multi_condition_flag.hpp"
#include "evaluation/saturating.hpp"
#include "model/probe_type.hpp"

namespace kiv {

int pointsOfType(unsigned type) {
    if (isDecision(type)) return 2;
    if (isMarker(type)) return 0;
    return 1;
}

std::uint32_t countPoints(const CoverageFunction& function) {
    // Summed in 64 bits so that a multi-condition probe met before anything
    // else cannot take the count below zero midway.
    std::int64_t points = function.points;
    bool previousNotMulti = previousWasNotMultiCondition();
    for (const auto& [line, probe] : function.probes) {
        if (isMultiCondition(probe->type)) {
            points += previousNotMulti ? -1 : 1;
            previousNotMulti = false;
        } else {
            points += pointsOfType(probe->type);
            previousNotMulti = true;
        }
    }
    setPreviousWasNotMultiCondition(previousNotMulti);
    return clampToCount(points);
}

} // namespace kiv
