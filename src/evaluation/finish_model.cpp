#include "diagnostics/raise.hpp"
#include "evaluation/coverage_views.hpp"
#include "evaluation/file_evaluation.hpp"
#include "evaluation/function_evaluation.hpp"
#include "evaluation/header_part_folding.hpp"
#include "evaluation/mcdc.hpp"
#include "evaluation/multi_condition_flag.hpp"
#include "evaluation/overall_sums.hpp"
#include "evaluation/run_time.hpp"
#include "evaluation/ter.hpp"
#include "model/coverage.hpp"

namespace kiv {

namespace {

// Each pass covers every file before the next begins: header parts can only
// be folded once all functions are evaluated, and statement texts need the
// folded counts.
void evaluateFiles(Coverage& coverage) {
    for (auto& [key, file] : coverage.fileMap)
        applyInstrumentationMode(*file, coverage.requestedCoverageView);

    McdcEvaluator mcdc;
    const FunctionEvaluationContext context{coverage.requestedCoverageView, mcdc};
    for (auto& [key, file] : coverage.fileMap) {
        for (auto& [line, function] : file->functionMap)
            evaluateFunction(*function, context);
        sumFileFunctions(*file);
    }

    foldHeaderParts(coverage);
    resumFilesWithHeaderParts(coverage);

    for (auto& [key, file] : coverage.fileMap)
        if (file->isSourceOrHeader()) evaluateFileStatements(*file);
}

} // namespace

void Coverage::finishModel() {
    resetMultiConditionFlag();
    guardRange([this] {
        reportGenerated = runTimeText();
        requestedCoverageView = resolveRequestedView(requestedCoverageViews);
        // With nothing chosen to report there is nothing to evaluate.
        if (chosenFiles == 0) return;

        evaluateFiles(*this);
        sumChosenFiles(*this);
        shownCoverageViews = combineShownViews(shownCoverageViewsInputs);
        statementTerText = overallStatementText(statementFunctions, statementTer, statementHits,
                                                statementAll, statementNaFunctions);
    });
}

} // namespace kiv
