#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "model/coverage_common.hpp"
#include "model/coverage_file.hpp"
#include "model/shared_text.hpp"
#include "model/text_list.hpp"
#include "model/text_runs.hpp"

namespace kiv {

// The merged model of every input report.
class Coverage : public CoverageCommon {
  public:
    using FileMap = std::map<std::string, std::unique_ptr<CoverageFile>, std::less<>>;

    // Registers the new object as the current model.
    Coverage(std::string version, const std::vector<std::string>& arguments,
             std::vector<std::string> chosenPatterns, std::vector<std::string> unchosenPatterns,
             std::vector<std::string> copyright);
    // Deletes the files in key order and clears the current-model pointer.
    ~Coverage() override;

    // The file stored under key, created first (and counted when chosen) if absent.
    CoverageFile& findOrCreateFile(std::string_view key, int type, std::string_view displayName,
                                   bool chosen);

    // Stamps the run time, resolves the views, evaluates and sums everything.
    void finishModel();

    // The texts of every probe, each kept once.
    TextPool texts;
    FileMap fileMap;
    std::string kivxmlmergeVersion;
    std::string kivxmlmergeOptions;
    std::string reportGenerated;
    std::string requestedCoverageView;
    std::uint32_t files = 0;   // chosen source files
    std::uint32_t headers = 0; // chosen header files
    std::uint32_t chosenFiles = 0;
    std::uint32_t chosenOthers = 0;
    std::uint32_t functions = 0;
    std::uint32_t lines = 0;
    std::uint32_t hits = 0;
    std::uint32_t all = 0;
    std::uint32_t ter = 100;
    std::uint32_t statementHits = 0;
    std::uint32_t statementAll = 0;
    std::uint32_t statementTer = 100;
    std::uint32_t statementNaFunctions = 0;

    // --- Working counters of the evaluation.
    std::uint32_t headerLines = 0;
    std::uint32_t points = 0;
    std::uint32_t filesWithStatement = 0;
    std::uint32_t filesWithoutStatement = 0;
    std::uint32_t statementFunctions = 0;

    TextRuns kivpostVersions;
    std::vector<std::string> copyright;
    TextList inputReports; // "name (generated)"
    std::vector<std::string> chosenPatterns;
    std::vector<std::string> unchosenPatterns;
    TextRuns executionCostFunctions;
    TextRuns executionCostTypes;
    TextRuns requestedCoverageViews;
    TextList notices;
    TextRuns shownCoverageViewsInputs; // one per report, rewritten
    std::vector<std::uint32_t> executionCostScalings;
    std::vector<std::uint32_t> overallLines;
    std::vector<std::uint32_t> measurementPoints;
    std::string shownCoverageViews;
    std::string statementTerText;
};

} // namespace kiv
