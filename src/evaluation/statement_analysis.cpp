#include "evaluation/statement_analysis.hpp"

#include "evaluation/saturating.hpp"
#include "evaluation/ter.hpp"
#include "model/probe_type.hpp"

namespace kiv {

bool statementExecuted(const CoverageProbe& probe) {
    if (probe.outcomeClass == 2) return probe.counters[0] != 0;
    return probe.counters[0] != 0 || probe.counters[1] != 0;
}

void evaluateStatements(CoverageFunction& function) {
    if (function.probes.empty() || function.probes.begin()->probe->type != kFunction)
        function.statementAvailable = "no";
    if (function.statementAvailable != "yes") return;

    std::uint32_t hits = 0;
    std::uint32_t all = 0;
    for (auto& [line, probe] : function.probes) {
        if (!isStatementProbe(*probe)) continue;
        const bool executed = statementExecuted(*probe);
        probe->statementMark = executed ? '+' : '-';
        addSaturating(all, 1);
        if (executed) addSaturating(hits, 1);
    }
    function.statementHits = hits;
    function.statementAll = all;
    if (all != 0) {
        function.statementTer = computeTer(hits, all);
    } else {
        function.statementAvailable = "no";
    }
}

} // namespace kiv
