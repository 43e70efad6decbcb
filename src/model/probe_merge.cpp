#include "model/coverage_probe.hpp"
#include "model/probe_type.hpp"

#include <limits>

namespace kiv {

namespace {

std::uint32_t saturatingAdd(std::uint32_t a, std::uint32_t b) {
    const std::uint32_t sum = a + b;
    return sum < a ? std::numeric_limits<std::uint32_t>::max() : sum;
}

// mcdc descriptions carry the generator's own +/- verdicts, which differ
// between runs; they compare equal with every "-" read as "+".
bool sameMcdcDescription(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const char x = a[i] == '-' ? '+' : a[i];
        const char y = b[i] == '-' ? '+' : b[i];
        if (x != y) return false;
    }
    return true;
}

} // namespace

bool CoverageProbe::sameProbe(const CoverageProbe& other) const {
    if (nesting != other.nesting || line != other.line || type != other.type) return false;
    if (!context.empty() && context != other.context) return false;
    if (type == kMcdc) return sameMcdcDescription(description, other.description);
    if (type == kTernary && sequence != other.sequence) return false;
    return description == other.description;
}

void CoverageProbe::merge(const CoverageProbe& other) {
    ++mergeCount;
    sourceLines.appendAll(other.sourceLines);
    directiveLines.appendAll(other.directiveLines);
    scCounts.appendAll(other.scCounts);
    counters[0] = saturatingAdd(counters[0], other.counters[0]);
    counters[1] = saturatingAdd(counters[1], other.counters[1]);
    if (outcomeClass == 5 || outcomeClass == 6) outcomeClass = counters[1] != 0 ? 6 : 5;
    computeOutcomes();
}

void CoverageProbe::computeOutcomes() {
    if (type < 1 || type > 52 || type == kLinedir) return;
    if (isDecision(type)) {
        possible = 2;
        covered = (counters[0] != 0 ? 1U : 0U) + (counters[1] != 0 ? 1U : 0U);
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
