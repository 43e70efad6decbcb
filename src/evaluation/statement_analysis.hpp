#pragma once

#include "model/coverage_function.hpp"
#include "model/coverage_probe.hpp"

namespace kiv {

// Whether a probe stands for a statement: it has an outcome of its own and is
// not one of the condition kinds of a decision.
bool isStatementProbe(const CoverageProbe& probe);

// Whether a statement probe was executed: a single-outcome probe by its first
// counter, a decision or const_ kind by either counter.
bool statementExecuted(const CoverageProbe& probe);

// Statement coverage of one function. A function whose first probe is not its
// function entry (or that has no probe) has no statement coverage. Otherwise
// every statement probe is marked '+' or '-' for the listing and counted;
// without any statement the function has no statement coverage either.
void evaluateStatements(CoverageFunction& function);

} // namespace kiv
