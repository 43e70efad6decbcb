#pragma once

#include <string_view>

#include "evaluation/mcdc.hpp"
#include "model/coverage_function.hpp"
#include "model/coverage_probe.hpp"

namespace kiv {

// What a function's evaluation needs beyond the function itself.
struct FunctionEvaluationContext {
    std::string_view requestedView;
    McdcEvaluator& mcdc;
};

// The line text of a probe: its source line, or every source line of its
// occurrences joined by ", " when they differ. Made when asked for: no
// output shows it, and a model holds millions of probes. A probe's
// occurrence count is CoverageProbe::occurrences().
std::string probeLineText(const CoverageProbe& probe);

// Evaluates one function after the last input: average cost, directive lines,
// the per-probe lines, MC/DC, length, measurement points, try-block flag,
// hits, all and TER. Probes are walked in line order, pass after pass.
void evaluateFunction(CoverageFunction& function, const FunctionEvaluationContext& context);

} // namespace kiv
