#include "listing/probe_line.hpp"

#include <string_view>

#include "diagnostics/raise.hpp"
#include "listing/line_directive.hpp"
#include "listing/listing_output.hpp"
#include "listing/listing_state.hpp"
#include "model/coverage_file.hpp"
#include "model/coverage_function.hpp"
#include "model/coverage_probe.hpp"
#include "model/probe_type.hpp"

namespace kiv {

namespace {

// Widths of the left part: hits/true, false, line; 29 in all.
constexpr std::size_t kFirstWidth = 10;
constexpr std::size_t kSecondWidth = 11;
constexpr std::size_t kLineWidth = 8;
constexpr std::size_t kLeftWidth = kFirstWidth + kSecondWidth + kLineWidth;

// The widest indentation the listing is willing to allocate.
constexpr std::uint64_t kMaxIndentation = std::uint64_t{1} << 28;

// Condition probes stand one level deeper than their decision.
bool indentedOneMore(unsigned type) {
    return type == kMultiCondT || type == kMultiCondF || type == kSubCond || type == kMcdc;
}

// Structural probes whose description is completed by its context.
bool showsContext(unsigned type) {
    switch (type) {
    case kElse:
    case kSwitch:
    case kCase:
    case kDefault:
    case kDo:
    case kBlockEnd:
    case kFunctionEndNr:
    case kLambdaEnd:
    case kLambdaEndNr:
    case kFunctionEnd:
    case kFunctionTryBlock:
    case kLabel:
    case kUserAnnotation:
        return true;
    default:
        return false;
    }
}

void appendLeftPart(std::string& text, ProbeLayout layout, const CoverageProbe& probe,
                    bool marked) {
    const std::uint32_t line = probe.largestSourceLine();
    switch (layout) {
    case ProbeLayout::OneCounter:
        appendField(text, probe.counters.at(0), kFirstWidth);
        appendField(text, line, kSecondWidth + kLineWidth, marked);
        break;
    case ProbeLayout::TwoCounters:
        appendField(text, probe.counters.at(0), kFirstWidth);
        appendField(text, probe.counters.at(1), kSecondWidth);
        appendField(text, line, kLineWidth, marked);
        break;
    case ProbeLayout::FalseOnly:
        appendField(text, probe.counters.at(1), kFirstWidth + kSecondWidth);
        appendField(text, line, kLineWidth, marked);
        break;
    default:
        appendField(text, line, kLeftWidth, marked);
        break;
    }
}

void writeLine(ListingContext& context, ProbeLayout layout, const CoverageProbe& probe, bool marked,
               std::string_view description) {
    std::string& text = context.out.text();
    appendLeftPart(text, layout, probe, marked);
    text.push_back(' ');
    appendIndentation(text, probe);
    text.append(description);
    if (showsContext(probe.type)) text.append(probe.context);
    context.out.endLine();
}

// An mcdc probe: one line per condition text, marked when the condition has
// no covered independence pair.
void writeConditionLines(const CoverageProbe& probe, ListingContext& context) {
    for (const std::string_view condition : probe.conditions())
        writeLine(context, ProbeLayout::NoCounter, probe,
                  condition.find('+') == std::string_view::npos, condition);
}

} // namespace

ProbeLayout probeLayout(const CoverageProbe& probe) {
    switch (probe.type) {
    case kFunction:
    case kReturn:
    case kMultiCondT:
    case kCase:
    case kDefault:
    case kBreak:
    case kTry:
    case kThrow:
    case kCatch:
    case kUserCounter:
    case kLambda:
    case kLambdaEnd:
    case kFunctionEnd:
    case kGoto:
    case kContinue:
    case kWhileDecl:
    case kForDecl:
    case kForRange:
    case kForEachRangeVc:
    case kForeachRangeCsharp:
    case kSehTry:
    case kSehLeave:
    case kSehFinally:
    case kSehExcept:
    case kMissingDefault:
        return ProbeLayout::OneCounter;
    case kIf:
    case kElseIf:
    case kWhile:
    case kFor:
    case kTernary:
    case kDoWhile:
    case kSubCond:
    case kExprAndor:
        return ProbeLayout::TwoCounters;
    case kMultiCondF:
        return ProbeLayout::FalseOnly;
    case kConstIf:
    case kConstElseIf:
    case kConstWhile:
    case kConstFor:
    case kConstDoWhile:
    case kConstTernary:
        return probe.outcomeClass == 5 ? ProbeLayout::OneCounter : ProbeLayout::FalseOnly;
    case kElse:
    case kSwitch:
    case kDo:
    case kBlockEnd:
    case kFunctionEndNr:
    case kLambdaEndNr:
    case kFunctionTryBlock:
    case kLabel:
    case kMcdc:
    case kUserAnnotation:
        return ProbeLayout::NoCounter;
    case kLinedirInFunction:
        return ProbeLayout::LineDirective;
    default:
        return ProbeLayout::None; // file-level line directives and unknown codes
    }
}

void appendIndentation(std::string& text, const CoverageProbe& probe) {
    const std::uint64_t levels =
        std::uint64_t{probe.nesting} + (indentedOneMore(probe.type) ? 1 : 0);
    const std::uint64_t blanks = 2 * levels;
    if (blanks > kMaxIndentation) raise(Unit::Internal, kOutOfMemory);
    text.append(static_cast<std::size_t>(blanks), ' ');
}

bool incompletelyCovered(const CoverageProbe& probe, bool reducedToMcdc) {
    if (reducedToMcdc && isMultiCondition(probe.type)) return false;
    return probe.possible != 0 && probe.covered < probe.possible;
}

void writeProbeLines(const CoverageProbe& probe, const CoverageFunction& function,
                     ListingContext& context) {
    ListingState& state = listingState();
    switch (probe.type) {
    case kLinedirInFunction:
        writeInFunctionDirective(probe, context);
        return;
    case kMcdc:
        writeConditionLines(probe, context);
        return;
    case kFunctionEndNr:
        if (state.currentFile != nullptr && state.currentFile->functionCoverageOnly) return;
        break;
    case kFunction:
        if (state.pendingDirectiveFile != nullptr) writeFileLevelDirective(probe, context);
        break;
    default:
        break;
    }
    const ProbeLayout layout = probeLayout(probe);
    if (layout == ProbeLayout::None) return;
    writeLine(context, layout, probe, incompletelyCovered(probe, context.reducedToMcdc),
              probe.description);
    if (probe.type == kFunctionEndNr || probe.type == kFunctionEnd) state.markListed(function);
}

void writeFunctionProbes(const CoverageFunction& function, ListingContext& context) {
    for (const auto& [line, probe] : function.probes)
        writeProbeLines(*probe, function, context);
}

} // namespace kiv
