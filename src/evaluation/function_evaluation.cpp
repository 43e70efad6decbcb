#include "evaluation/function_evaluation.hpp"

#include <charconv>

#include "evaluation/point_count.hpp"
#include "evaluation/saturating.hpp"
#include "evaluation/ter.hpp"
#include "model/probe_type.hpp"

namespace kiv {

namespace {

constexpr std::string_view kMcdcView = "Reduced to MC/DC coverage";

void appendNumber(std::string& text, std::uint32_t value) {
    char digits[16];
    const auto result = std::to_chars(digits, digits + sizeof digits, value);
    text.append(digits, result.ptr);
}

void evaluateProbeLines(CoverageFunction& function) {
    // The listing shows the largest source line and the smallest directive
    // line of each probe; a probe without them is a defect, reported here.
    for (const auto& [line, probe] : function.probes) {
        (void)probe->largestSourceLine();
        (void)probe->smallestDirectiveLine();
    }
}

// The distance from the function entry to its end, when exactly one of each
// (or two boundary probes in all) is present.
void measureLength(CoverageFunction& function) {
    std::uint32_t boundaries[2] = {0, 0};
    int found = 0;
    for (const auto& [line, probe] : function.probes) {
        const auto type = probe->type;
        if (type != kFunction && type != kFunctionEndNr && type != kFunctionEnd) continue;
        if (found < 2) boundaries[found] = line;
        ++found;
    }
    if (found == 2) function.length = saturatingAdd(boundaries[1] - boundaries[0], 1);
}

void sumOutcomes(CoverageFunction& function, std::string_view requestedView) {
    const bool mcdcView = requestedView == kMcdcView;
    for (const auto& [line, probe] : function.probes) {
        if (probe->type == kFunctionTryBlock) function.tryBlock = true;
    }
    for (const auto& [line, probe] : function.probes) {
        if (probe->type == kMcdc) {
            for (const std::string_view condition : probe->conditions()) {
                addSaturating(function.all, 1);
                if (condition.find('+') != std::string_view::npos) addSaturating(function.hits, 1);
            }
        } else if (isMultiCondition(probe->type) && mcdcView) {
            // Under the MC/DC view the conditions count only through their mcdc probe.
        } else {
            addSaturating(function.all, probe->possible);
            addSaturating(function.hits, probe->covered);
        }
    }
    if (function.all != 0) function.ter = computeTer(function.hits, function.all);
}

} // namespace

std::string probeLineText(const CoverageProbe& probe) {
    std::string text;
    const RunList sourceLines = probe.sourceLines();
    if (sourceLines.allEqual()) {
        if (!sourceLines.empty()) appendNumber(text, sourceLines.front());
        return text;
    }
    sourceLines.forEachRun([&](std::uint32_t value, std::uint64_t count) {
        for (std::uint64_t i = 0; i < count; ++i) {
            if (!text.empty()) text += ", ";
            appendNumber(text, value);
        }
    });
    return text;
}

void evaluateFunction(CoverageFunction& function, const FunctionEvaluationContext& context) {
    function.finishMerging();
    if (function.callCount != 0)
        function.averageExecutionCost = static_cast<double>(function.totalExecutionCost) /
                                        static_cast<double>(function.callCount);
    function.returnLine = function.directiveProbeLines.max();
    function.returnDirective = function.directiveNumbers.min();

    evaluateProbeLines(function);
    context.mcdc.evaluate(function);

    measureLength(function);
    function.points = countPoints(function);
    sumOutcomes(function, context.requestedView);
}

} // namespace kiv
