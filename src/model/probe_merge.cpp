#include "model/coverage_probe.hpp"
#include "model/probe_identity.hpp"
#include "model/probe_type.hpp"
#include "model/saturating.hpp"

namespace kiv {

bool CoverageProbe::sameProbe(const CoverageProbe& other) const {
    if (nesting != other.nesting || line != other.line || type != other.type) return false;
    if (!context.empty() && context != other.context) return false;
    if (significantSequence(type, sequence) != significantSequence(type, other.sequence))
        return false;
    return sameDescription(type, description, other.description);
}

void CoverageProbe::merge(const CoverageProbe& other) {
    sourceLines.appendAll(other.sourceLines);
    directiveLines.appendAll(other.directiveLines);
    scCounts.appendAll(other.scCounts);
    addOccurrence(other.counters);
}

void CoverageProbe::merge(const ProbeRecord& other) {
    sourceLines.append(other.sourceLine);
    directiveLines.append(other.directiveLine);
    scCounts.append(other.scCount);
    addOccurrence(other.counters);
}

void CoverageProbe::addOccurrence(const std::array<std::uint32_t, 2>& otherCounters) {
    ++mergeCount;
    counters[0] = saturatingAdd(counters[0], otherCounters[0]);
    counters[1] = saturatingAdd(counters[1], otherCounters[1]);
    // A const_ condition counts its outcome on the second counter once any
    // occurrence has counted there.
    if (outcomeClass == 5 || outcomeClass == 6) outcomeClass = counters[1] != 0 ? 6 : 5;
    computeOutcomes();
}

void CoverageProbe::computeOutcomes() {
    if (type < 1 || type > 52 || type == kLinedir) return;
    if (isDecision(type)) {
        possible = 2;
        covered =
            static_cast<std::uint8_t>((counters[0] != 0 ? 1 : 0) + (counters[1] != 0 ? 1 : 0));
    } else if (type == kMultiCondF) {
        possible = 1;
        covered = counters[1] != 0 ? 1 : 0;
    } else if (isConstKind(type)) {
        possible = 1;
        covered = (outcomeClass == 5 ? counters[0] : counters[1]) != 0 ? 1 : 0;
    } else if (isMarker(type)) {
        possible = 0;
        covered = 0;
    } else {
        possible = 1;
        covered = counters[0] != 0 ? 1 : 0;
    }
}

} // namespace kiv
