#include "summary/summary_writer.hpp"

#include "model/coverage.hpp"
#include "summary/input_entry.hpp"
#include "summary/summary_blocks.hpp"
#include "summary/summary_state.hpp"
#include "summary/xml_output.hpp"

namespace kiv {

namespace {

void writeInputReports(const Coverage& coverage, XmlOutput& out) {
    out.line(2, "<xmlfiles>");
    coverage.inputReports.forEach([&out](std::string_view entry) {
        const InputEntryParts parts = splitInputEntry(entry);
        out.line(3, "<xmlfile>");
        out.escapedElement(4, "name", parts.name);
        out.element(4, "generated", parts.generated);
        out.line(3, "</xmlfile>");
    });
    out.line(2, "</xmlfiles>");
}

void writeHeaderInfo(const Coverage& coverage, XmlOutput& out) {
    out.line(0, R"(<?xml version="1.0" encoding="ISO-8859-1"?>)");
    out.emptyLine();
    out.line(0, "<kiv_xmlmerge_report>");
    out.emptyLine();
    out.line(1, "<header_info>");
    out.element(2, "kivpost_version", coverage.kivpostVersions.first());
    out.element(2, "kivxmlmerge_version", coverage.kivxmlmergeVersion);
    for (std::size_t i = 0; i < 2; ++i)
        out.element(2, "copyright",
                    i < coverage.copyright.size() ? std::string_view{coverage.copyright[i]}
                                                  : std::string_view{});
    writeInputReports(coverage, out);
    out.element(2, "report_generated", coverage.reportGenerated);
    out.element(2, "requested_coverage_view", coverage.requestedCoverageView);
    out.escapedElement(2, "kivxmlmerge_options", coverage.kivxmlmergeOptions);
    out.element(2, "execution_cost_function", coverage.executionCostFunctions.first());
    out.element(2, "execution_cost_type", coverage.executionCostTypes.first());
    if (coverage.executionCostScalings.empty())
        out.emptyElement(2, "execution_cost_scaling");
    else
        out.element(2, "execution_cost_scaling", coverage.executionCostScalings.front());
    out.line(1, "</header_info>");
    out.emptyLine();
}

// Counters of the overall summary; without chosen files they are fixed.
struct OverallCounts {
    std::string_view shownViews;
    std::uint32_t files = 0, headers = 0, functions = 0, lines = 0;
    std::uint32_t ter = 100, hits = 0, all = 0;
    std::uint32_t statementTer = 100, statementHits = 0, statementAll = 0;
    std::uint32_t statementNaFunctions = 0;
};

OverallCounts overallCounts(const Coverage& coverage) {
    OverallCounts counts;
    if (coverage.chosenFiles == 0) return counts;
    counts.shownViews = coverage.shownCoverageViews;
    counts.files = coverage.files;
    counts.headers = coverage.headers;
    counts.functions = coverage.functions;
    counts.lines = coverage.lines;
    counts.ter = coverage.ter;
    counts.hits = coverage.hits;
    counts.all = coverage.all;
    counts.statementTer = coverage.statementTer;
    counts.statementHits = coverage.statementHits;
    counts.statementAll = coverage.statementAll;
    counts.statementNaFunctions = coverage.statementNaFunctions;
    return counts;
}

void writeOverallSummary(const Coverage& coverage, XmlOutput& out) {
    const OverallCounts counts = overallCounts(coverage);
    out.line(1, "<overall_summary>");
    out.element(2, "shown_coverage_views", counts.shownViews);
    out.element(2, "files", counts.files);
    out.element(2, "headers", counts.headers);
    out.element(2, "functions", counts.functions);
    out.element(2, "lines", counts.lines);
    out.element(2, "ter", counts.ter);
    out.element(2, "hits", counts.hits);
    out.element(2, "all", counts.all);
    out.element(2, "statement_ter", counts.statementTer);
    out.element(2, "statement_hits", counts.statementHits);
    out.element(2, "statement_all", counts.statementAll);
    out.element(2, "statement_na_functions", counts.statementNaFunctions);
    out.line(1, "</overall_summary>");
    out.emptyLine();
}

} // namespace

void writeSummary(const Coverage& coverage, std::ostream& stream) {
    resetSummaryState();
    XmlOutput out(stream);
    writeHeaderInfo(coverage, out);
    if (coverage.chosenFiles != 0) {
        for (const auto& [key, file] : coverage.fileMap)
            if (file->type != kHeaderPart && file->chosen) writeFileBlock(*file, out);
    }
    writeOverallSummary(coverage, out);
    out.line(0, "</kiv_xmlmerge_report>");
    out.finish();
}

} // namespace kiv
