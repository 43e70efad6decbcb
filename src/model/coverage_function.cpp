#include "model/coverage_function.hpp"

namespace kiv {

CoverageFunction::CoverageFunction(std::string functionName, std::uint32_t line,
                                   std::string functionParameters, const FunctionHeader& header)
    : name(std::move(functionName)), definedAtLine(line),
      parameters(std::move(functionParameters)), directiveProbeLines(header.directiveProbeLine),
      directiveNumbers(header.directiveNumber), callCount(header.callCount),
      totalExecutionCost(header.totalExecutionCost), maxExecutionCost(header.maxExecutionCost),
      firstHeader(header) {}

} // namespace kiv
