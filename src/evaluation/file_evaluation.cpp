#include "evaluation/file_evaluation.hpp"

#include "diagnostics/raise.hpp"
#include "evaluation/saturating.hpp"
#include "evaluation/statement_analysis.hpp"
#include "evaluation/ter.hpp"

namespace kiv {

void applyInstrumentationMode(CoverageFile& file, std::string_view requestedView) {
    if (file.instrumentationModes.size() != 1)
        raise(Unit::InstrumentationModes, kDifferentModes, file.displayName);
    file.instrumentationMode = file.instrumentationModes[0];
    const std::string_view mode = file.instrumentationMode;
    file.functionCoverageOnly = requestedView == "Reduced to function coverage" ||
                                mode.find("function") != std::string_view::npos;
    file.hasExecutionCost = mode.find("timing") != std::string_view::npos;
}

void sumFileFunctions(CoverageFile& file) {
    if (!file.lineCounts.empty()) file.lines = file.lineCounts.max();
    for (const auto& [line, function] : file.functionMap) {
        addSaturating(file.points, function->points);
        addSaturating(file.hits, function->hits);
        addSaturating(file.all, function->all);
    }
    if (file.all != 0) file.ter = computeTer(file.hits, file.all);
}

void evaluateFileStatements(CoverageFile& file) {
    for (auto& [line, function] : file.functionMap)
        evaluateStatements(*function);
    for (auto& [line, function] : file.functionMap)
        function->statementTerText =
            functionStatementText(function->statementAvailable == "yes", function->statementTer,
                                  function->statementHits, function->statementAll);

    for (const auto& [line, function] : file.functionMap) {
        if (function->statementAvailable == "yes") {
            addSaturating(file.statementHits, function->statementHits);
            addSaturating(file.statementAll, function->statementAll);
            addSaturating(file.statementFunctions, 1);
        } else {
            addSaturating(file.statementNaFunctions, 1);
        }
    }
    if (file.statementAll != 0)
        file.statementTer = computeTer(file.statementHits, file.statementAll);

    file.statementTerText =
        fileStatementText(file.statementFunctions, file.statementTer, file.statementHits,
                          file.statementAll, file.statementNaFunctions);
    if (file.statementFunctions != 0) file.statementCoverage = true;
    file.functions = saturatingAdd(file.statementFunctions, file.statementNaFunctions);

    for (auto& [line, function] : file.functionMap)
        function->terText = terText(function->ter, function->hits, function->all);
    file.terText = terText(file.ter, file.hits, file.all);
}

} // namespace kiv
