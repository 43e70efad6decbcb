#include "listing/line_directive.hpp"

#include <algorithm>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

#include "listing/listing_output.hpp"
#include "listing/listing_state.hpp"
#include "listing/probe_line.hpp"
#include "model/coverage_file.hpp"
#include "model/coverage_function.hpp"
#include "model/coverage_probe.hpp"

namespace kiv {

namespace {

constexpr std::size_t kLeftWidth = 29;

void writeDirectiveLine(ListingContext& context, std::uint32_t line,
                        const CoverageProbe& indentedLike, std::uint32_t number,
                        std::string_view fileName) {
    std::string& text = context.out.text();
    appendField(text, line, kLeftWidth);
    text.push_back(' ');
    appendIndentation(text, indentedLike);
    text.append("#line ");
    appendNumber(text, number);
    text.append(" \"");
    text.append(fileName);
    text.push_back('"');
    context.out.endLine();
}

std::string_view currentFileName(const ListingState& state) {
    return state.currentFile == nullptr ? std::string_view{}
                                        : std::string_view{state.currentFile->displayName};
}

const CoverageFunction& firstFunction(const CoverageFile& headerPart) {
    if (headerPart.functionMap.empty())
        throw std::out_of_range("header part without a function: " + headerPart.displayName);
    return *headerPart.functionMap.begin()->second;
}

void writeIntoHeaderPart(const CoverageProbe& probe, const CoverageFile& headerPart,
                         ListingContext& context) {
    ListingState& state = listingState();
    const CoverageFunction& part = firstFunction(headerPart);
    // A header part whose probes are being written already cannot be entered
    // again (a directive inside it that leads into itself).
    if (state.isListed(part) ||
        std::find(state.expanding.begin(), state.expanding.end(), &part) != state.expanding.end())
        return;
    writeDirectiveLine(context, probe.largestSourceLine(), probe, probe.smallestDirectiveLine(),
                       headerPart.displayName);
    state.expanding.push_back(&part);
    writeFunctionProbes(part, context);
    state.expanding.pop_back();
    state.pendingDirectiveFile = &headerPart;
}

void writeBackFromHeaderPart(const CoverageProbe& probe, ListingContext& context) {
    ListingState& state = listingState();
    const CoverageFile* pending = state.pendingDirectiveFile;
    if (pending == nullptr) return;
    state.pendingDirectiveFile = nullptr;
    const CoverageFunction& part = firstFunction(*pending);
    if (state.isListed(part)) return;
    writeDirectiveLine(context, probe.largestSourceLine(), probe, probe.smallestDirectiveLine(),
                       currentFileName(state));
    state.markListed(part);
}

} // namespace

void writeInFunctionDirective(const CoverageProbe& probe, ListingContext& context) {
    if (probe.owner() != nullptr && probe.owner()->type == kHeaderPart)
        writeIntoHeaderPart(probe, *probe.owner(), context);
    else
        writeBackFromHeaderPart(probe, context);
}

void writeFileLevelDirective(const CoverageProbe& functionProbe, ListingContext& context) {
    ListingState& state = listingState();
    const CoverageFunction* function = state.currentFunction;
    writeDirectiveLine(context, function == nullptr ? 0 : function->returnLine, functionProbe,
                       function == nullptr ? 0 : function->returnDirective, currentFileName(state));
    state.pendingDirectiveFile = nullptr;
}

} // namespace kiv
