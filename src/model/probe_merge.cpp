#include "model/coverage_probe.hpp"
#include "model/probe_identity.hpp"
#include "model/probe_type.hpp"
#include "model/saturating.hpp"

namespace kiv {

bool CoverageProbe::sameProbe(const CoverageProbe& other) const {
    if (nesting != other.nesting || line != other.line || type != other.type) return false;
    if (!context.empty() && context != other.context) return false;
    if (significantSequence(type, sequence()) != significantSequence(type, other.sequence()))
        return false;
    return sameDescription(type, description, other.description);
}

void CoverageProbe::merge(const CoverageProbe& other) {
    // The lists stay implicit only while each merge adds one occurrence like
    // the first; the merge count is what counts them then, so it must not
    // wrap around either.
    if (extra_ || other.extra_ || other.mergeCount != 0 || other.line != line ||
        mergeCount == UINT32_MAX) {
        const RunList sources = other.sourceLines();
        const RunList directives = other.directiveLines();
        const RunList counts = other.scCounts();
        Extra& lists = extra();
        lists.sourceLines.appendAll(sources);
        lists.directiveLines.appendAll(directives);
        lists.scCounts.appendAll(counts);
    }
    addOccurrence(other.counters);
}

void CoverageProbe::merge(const ProbeRecord& other) {
    if (extra_ || other.sourceLine != line || other.directiveLine != 0 || other.scCount != 0 ||
        mergeCount == UINT32_MAX) {
        Extra& lists = extra();
        lists.sourceLines.append(other.sourceLine);
        lists.directiveLines.append(other.directiveLine);
        lists.scCounts.append(other.scCount);
    }
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
