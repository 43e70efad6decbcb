#pragma once

#include <cstdint>
#include <string>

namespace kiv {

class CoverageFunction;
class CoverageProbe;
class ListingOutput;

// What every probe line needs besides the writer state.
struct ListingContext {
    ListingOutput& out;
    // The coverage view is exactly "Reduced to MC/DC coverage": multi-condition
    // probes are then never marked as incompletely covered.
    bool reducedToMcdc = false;
};

// How the left part of a probe's line is made up.
enum class ProbeLayout {
    None,          // no line at all
    OneCounter,    // hits in 10, line in 19
    TwoCounters,   // true in 10, false in 11, line in 8
    FalseOnly,     // false in 21, line in 8
    NoCounter,     // line in 29
    LineDirective, // a "#line" line
};

ProbeLayout probeLayout(const CoverageProbe& probe);

// Appends the blanks in front of a probe's description: two per nesting level,
// one level more for condition probes. An indentation too wide to allocate
// raises code 19.
void appendIndentation(std::string& text, const CoverageProbe& probe);

// The probe has possible outcomes and not all of them were covered.
bool incompletelyCovered(const CoverageProbe& probe, bool reducedToMcdc);

// Writes the listing lines of one probe of `function` (none, one or several).
void writeProbeLines(const CoverageProbe& probe, const CoverageFunction& function,
                     ListingContext& context);

// Writes the lines of every probe of a function, in line order.
void writeFunctionProbes(const CoverageFunction& function, ListingContext& context);

} // namespace kiv
