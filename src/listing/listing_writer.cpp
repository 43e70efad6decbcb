#include "listing/listing_writer.hpp"

#include <string>
#include <string_view>

#include "diagnostics/raise.hpp"
#include "listing/listing_header.hpp"
#include "listing/listing_output.hpp"
#include "listing/listing_state.hpp"
#include "listing/probe_line.hpp"
#include "model/coverage.hpp"

namespace kiv {

namespace {

constexpr std::string_view kEquals =
    "=============================================================================";
constexpr std::string_view kDashes =
    "-----------------------------------------------------------------------------";
constexpr std::string_view kReducedToMcdc = "Reduced to MC/DC coverage";

// Clears the writer state when the listing ends, also by an exception.
struct StateReset {
    StateReset() { resetListingState(); }
    ~StateReset() { resetListingState(); }
    StateReset(const StateReset&) = delete;
    StateReset& operator=(const StateReset&) = delete;
};

// "***TER <ter text> of <kind><name><suffix>" and the statement TER line.
void writeTerFooter(ListingOutput& out, std::string_view terText, std::string_view kind,
                    std::string_view name, std::string_view suffix,
                    std::string_view statementTerText) {
    std::string& text = out.text();
    text.append("***TER ");
    text.append(terText);
    text.append(kind);
    text.append(name);
    text.append(suffix);
    out.endLine();
    std::string& statement = out.text();
    statement.append("       ");
    statement.append(statementTerText);
    out.endLine();
    out.line(kDashes);
}

void writeFunctionBlock(const CoverageFunction& function, ListingContext& context) {
    ListingState& state = listingState();
    state.currentFunction = &function;
    guardRange([&] { writeFunctionProbes(function, context); });
    if (!state.currentFile->functionCoverageOnly) {
        context.out.emptyLines(1);
        writeTerFooter(context.out, function.terText, " of FUNCTION ", function.name, "()",
                       function.statementTerText);
        context.out.emptyLines(1);
    }
    state.currentFunction = nullptr;
}

void writeFileBlock(const CoverageFile& file, ListingContext& context) {
    ListingState& state = listingState();
    state.currentFile = &file;
    state.pendingDirectiveFile = nullptr;
    ListingOutput& out = context.out;
    {
        std::string& text = out.text();
        text.append(file.type == kSourceFile ? "MONITORED SOURCE FILE : "
                                             : "MONITORED HEADER FILE : ");
        text.append(file.displayName);
        out.endLine();
    }
    {
        std::string& text = out.text();
        text.append("INSTRUMENTATION MODE  : ");
        text.append(file.instrumentationMode);
        out.endLine();
    }
    out.emptyLines(1);
    out.line(" HITS/TRUE      FALSE    LINE DESCRIPTION");
    out.line(kEquals);
    out.emptyLines(1);
    for (const std::string& header : file.includedHeaders) {
        std::string& text = out.text();
        text.append("#include \"");
        text.append(header);
        text.push_back('"');
        out.endLine();
    }
    for (const std::string& header : file.headerParts)
        out.line(header);
    for (const auto& [line, function] : file.functionMap)
        writeFunctionBlock(*function, context);
    out.emptyLines(1);
    writeTerFooter(out, file.terText, " of FILE ", file.displayName, {}, file.statementTerText);
    out.emptyLines(3);
    state.currentFile = nullptr;
    state.pendingDirectiveFile = nullptr;
}

void writeCount(ListingOutput& out, std::string_view label, std::uint32_t value) {
    std::string& text = out.text();
    text.append(label);
    appendNumber(text, value);
    out.endLine();
}

void writeOverallSummary(const Coverage& coverage, ListingOutput& out) {
    out.line("SUMMARY");
    out.line("=======");
    out.emptyLines(1);
    if (coverage.chosenFiles == 0) {
        out.line("Source files       : 0");
        out.line("Headers extracted  : 0");
        out.line("Functions          : 0");
        out.line("Source lines       : 0");
        out.line("TER                : 100 % (0/0)");
        out.line("TER                : 100 % (0/0) statement");
        return;
    }
    writeCount(out, "Source files       : ", coverage.files);
    writeCount(out, "Headers extracted  : ", coverage.headers);
    writeCount(out, "Functions          : ", coverage.functions);
    writeCount(out, "Source lines       : ", coverage.lines);
    {
        std::string& text = out.text();
        text.append("TER                : ");
        appendNumber(text, coverage.ter);
        text.append(" % (");
        appendNumber(text, coverage.hits);
        text.push_back('/');
        appendNumber(text, coverage.all);
        text.append(") ");
        text.append(coverage.shownCoverageViews);
        out.endLine();
    }
    std::string& text = out.text();
    text.append("TER                : ");
    text.append(coverage.statementTerText);
    out.endLine();
}

} // namespace

void writeListing(const Coverage& coverage, std::ostream& stream) {
    StateReset reset;
    ListingOutput out(stream);
    ListingContext context{out, coverage.requestedCoverageView == kReducedToMcdc};
    writeHeaderBox(coverage, out);
    writeInputSection(coverage, out);
    for (const auto& [key, file] : coverage.fileMap)
        if (file->chosen && (file->type == kSourceFile || file->type == kHeaderFile))
            writeFileBlock(*file, context);
    writeOverallSummary(coverage, out);
    out.finish();
}

} // namespace kiv
