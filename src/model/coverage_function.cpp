#include "model/coverage_function.hpp"

#include "model/probe_index.hpp"

namespace kiv {

CoverageFunction::CoverageFunction(std::string functionName, std::uint32_t line,
                                   std::string functionParameters, const FunctionHeader& header)
    : name(std::move(functionName)), definedAtLine(line), parameters(std::move(functionParameters)),
      directiveProbeLines(header.directiveProbeLine), directiveNumbers(header.directiveNumber),
      callCount(header.callCount), totalExecutionCost(header.totalExecutionCost),
      maxExecutionCost(header.maxExecutionCost), firstHeader(header) {}

CoverageFunction::~CoverageFunction() = default;

void CoverageFunction::finishMerging() {
    index_.reset();
}

CoverageFunction::MergeIndex& CoverageFunction::mergeIndex() {
    if (!index_) index_ = std::make_unique<MergeIndex>();
    if (index_->indexed != probes.size()) index_->rebuild(probes);
    index_->follow(probes);
    return *index_;
}

} // namespace kiv
