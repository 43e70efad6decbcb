#include "evaluation/overall_sums.hpp"

#include "evaluation/saturating.hpp"
#include "evaluation/ter.hpp"

namespace kiv {

void sumChosenFiles(Coverage& coverage) {
    for (const auto& [key, file] : coverage.fileMap) {
        if (!file->chosen || !file->isSourceOrHeader()) continue;
        addSaturating(coverage.points, file->points);
        if (file->type == kSourceFile) {
            addSaturating(coverage.lines, file->lines);
        } else {
            addSaturating(coverage.headerLines, file->lines);
        }
        addSaturating(coverage.hits, file->hits);
        addSaturating(coverage.all, file->all);
        if (file->statementCoverage) {
            addSaturating(coverage.statementHits, file->statementHits);
            addSaturating(coverage.statementAll, file->statementAll);
            addSaturating(coverage.filesWithStatement, 1);
        } else {
            addSaturating(coverage.filesWithoutStatement, 1);
        }
        addSaturating(coverage.statementFunctions, file->statementFunctions);
        addSaturating(coverage.statementNaFunctions, file->statementNaFunctions);
    }
    if (coverage.all != 0) coverage.ter = computeTer(coverage.hits, coverage.all);
    if (coverage.statementAll != 0)
        coverage.statementTer = computeTer(coverage.statementHits, coverage.statementAll);
    coverage.functions = saturatingAdd(coverage.statementFunctions, coverage.statementNaFunctions);
}

} // namespace kiv
