#include "summary/summary_blocks.hpp"

#include "model/coverage_file.hpp"
#include "model/coverage_function.hpp"
#include "summary/escape.hpp"
#include "summary/summary_state.hpp"
#include "summary/xml_output.hpp"

namespace kiv {

namespace {

void writeIncludes(const CoverageFile& file, XmlOutput& out) {
    for (const std::string& header : file.includedHeaders) {
        std::string& text = out.begin(2);
        text.append("<include name=\"#include &quot;");
        appendEscaped(text, header);
        text.append("&quot;\" />");
        out.endLine();
    }
    for (const std::string& name : file.includes) {
        std::string& text = out.begin(2);
        text.append("<include name=\"");
        appendEscaped(text, name);
        text.append("\" />");
        out.endLine();
    }
}

void writeFileSummary(const CoverageFile& file, XmlOutput& out) {
    out.line(2, "<file_summary>");
    out.element(3, "functions", file.functions);
    out.element(3, "lines", file.lines);
    out.element(3, "ter", file.ter);
    out.element(3, "hits", file.hits);
    out.element(3, "all", file.all);
    out.element(3, "statement_ter", file.statementTer);
    out.element(3, "statement_hits", file.statementHits);
    out.element(3, "statement_all", file.statementAll);
    out.element(3, "statement_na_functions", file.statementNaFunctions);
    out.line(2, "</file_summary>");
}

} // namespace

void writeFunctionBlock(const CoverageFunction& function, XmlOutput& out) {
    SummaryFunctionScope scope(function);
    {
        std::string& text = out.begin(2);
        text.append("<function name=\"");
        appendEscaped(text, function.name);
        text.append("\">");
        out.endLine();
    }
    out.escapedElement(3, "parameters", function.parameters);
    out.element(3, "defined_at_line", function.definedAtLine);
    out.element(3, "call_count", function.callCount);
    const CoverageFile* file = summaryCurrentFile();
    if (file != nullptr && file->hasExecutionCost) {
        out.signedElement(3, "total_execution_cost", function.totalExecutionCost);
        out.fixedElement(3, "average_execution_cost", function.averageExecutionCost);
        out.signedElement(3, "max_execution_cost", function.maxExecutionCost);
    } else {
        out.emptyElement(3, "total_execution_cost");
        out.emptyElement(3, "average_execution_cost");
        out.emptyElement(3, "max_execution_cost");
    }
    out.line(3, "<function_summary>");
    out.element(4, "ter", function.ter);
    out.element(4, "hits", function.hits);
    out.element(4, "all", function.all);
    out.element(4, "statement_ter", function.statementTer);
    out.element(4, "statement_hits", function.statementHits);
    out.element(4, "statement_all", function.statementAll);
    out.element(4, "statement_available", function.statementAvailable);
    out.line(3, "</function_summary>");
    out.line(2, "</function>");
}

void writeFileBlock(const CoverageFile& file, XmlOutput& out) {
    SummaryFileScope scope(file);
    {
        std::string& text = out.begin(1);
        text.append("<file name=\"");
        appendEscaped(text, file.displayName);
        text.append("\">");
        out.endLine();
    }
    out.element(2, "file_type", file.fileType);
    out.element(2, "instrumentation_mode", file.instrumentationMode);
    writeIncludes(file, out);
    for (const auto& [line, function] : file.functionMap)
        writeFunctionBlock(*function, out);
    writeFileSummary(file, out);
    out.line(1, "</file>");
    out.emptyLine();
}

} // namespace kiv
