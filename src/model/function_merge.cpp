#include "model/coverage_file.hpp"
#include "model/coverage_function.hpp"
#include "model/probe_index.hpp"
#include "model/probe_type.hpp"
#include "model/saturating.hpp"

#include <algorithm>

namespace kiv {

void CoverageFunction::mergeHeader(const FunctionHeader& header) {
    callCount = saturatingAdd(callCount, header.callCount);
    totalExecutionCost = saturatingAdd(totalExecutionCost, header.totalExecutionCost);
    maxExecutionCost = std::max(maxExecutionCost, header.maxExecutionCost);
    directiveProbeLines.append(header.directiveProbeLine);
    directiveNumbers.append(header.directiveNumber);
}

// The first occurrence of a function stores its probes as they come; every
// later occurrence, announced by its function probe, merges each probe into
// the one it matches.
void CoverageFunction::addProbe(ProbeRecord&& probe) {
    // A condition belongs to the decision announced last before it.
    const bool condition = isConditionKind(probe.type);
    if (!condition) lastDescription = probe.description;
    const std::string_view context = condition ? lastDescription : probe.context;

    CoverageProbe* target = nullptr;
    if (probe.type == kFunction) {
        if (!probes.empty()) {
            ++occurrences;
            target = probes.first()->probe.get();
        }
    } else if (probe.type == kLinedirInFunction) {
        if (occurrences != 0) {
            // Header code has no function probe of its own: the directive
            // into it starts the pseudo function's next occurrence.
            CoverageFile* part = probe.owner;
            if (part != nullptr && part->type == kHeaderPart) {
                CoverageFunction* first = probe.partFunction;
                if (first == nullptr && !part->functionMap.empty())
                    first = part->functionMap.begin()->second.get();
                if (first != nullptr) ++first->occurrences;
            }
            target = applyLineDirectiveRule(probe);
        }
    } else if (occurrences != 0) {
        target = findMatchingProbe(probe, context);
    }

    if (target != nullptr) {
        target->merge(probe);
        return;
    }
    if (condition) probe.context.assign(lastDescription);
    insertProbe(std::move(probe));
}

void CoverageFunction::insertProbe(ProbeRecord&& probe) {
    const std::uint32_t line = probe.probeLine;
    // The probe map inserts after the entries already stored under the line.
    auto created = std::make_unique<CoverageProbe>(std::move(probe), texts_);
    CoverageProbe& added = *created;
    probes.emplace(std::move(created));
    // A function met once never needs its index: it is built when a later
    // occurrence first looks for a probe.
    if (index_ && index_->indexed + 1 == probes.size())
        index_->add(probes, added, line, occurrences);
}

} // namespace kiv
