#include "model/coverage_function.hpp"
#include "model/probe_index.hpp"

namespace kiv {

// A later occurrence's line directive merges into the directive of the first
// occurrence that leads to the same file from the same line. A lone earlier
// directive from a smaller line is replaced by the new one.
CoverageProbe* CoverageFunction::applyLineDirectiveRule(const ProbeRecord& probe) {
    MergeIndex& index = mergeIndex();
    const auto found = index.directives.find(probe.owner);
    if (found == index.directives.end() || found->second.count == 0) {
        markStatementUnavailable();
        return nullptr;
    }
    MergeIndex::DirectiveCandidates& candidates = found->second;
    if (candidates.count > 1) {
        const auto same = candidates.firstByLine.find(probe.probeLine);
        return same == candidates.firstByLine.end() ? nullptr : same->second;
    }
    const auto [line, only] = *candidates.firstByLine.begin();
    if (line == probe.probeLine) return only;
    markStatementUnavailable();
    if (line < probe.probeLine) index.removeOnlyDirective(probes, line, only);
    return nullptr;
}

} // namespace kiv
