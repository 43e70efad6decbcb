#pragma once

#include "model/coverage_function.hpp"
#include "model/coverage_probe.hpp"
#include "model/probe_type.hpp"

namespace kiv {

// Whether a probe stands for a statement: it has an outcome of its own and is
// not one of the condition kinds of a decision. Inline: the export asks it
// of every probe several times.
inline bool isStatementProbe(const CoverageProbe& probe) {
    if (isConditionKind(probe.type) || probe.type == kExprAndor) return false;
    const std::uint32_t outcomeClass = probe.outcomeClass;
    return outcomeClass == 2 || outcomeClass == 4 || outcomeClass == 5 || outcomeClass == 6;
}

// Whether a statement probe was executed: a single-outcome probe by its first
// counter, a decision or const_ kind by either counter.
bool statementExecuted(const CoverageProbe& probe);

// Statement coverage of one function. A function whose first probe is not its
// function entry (or that has no probe) has no statement coverage. Otherwise
// every statement probe is marked '+' or '-' for the listing and counted;
// without any statement the function has no statement coverage either.
void evaluateStatements(CoverageFunction& function);

} // namespace kiv
