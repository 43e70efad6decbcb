#pragma once

namespace kiv {

class CoverageProbe;
struct ListingContext;

// A line directive met inside a function. Into a header part: the "#line"
// line naming the header, followed by the probes of the header part's
// function, once per header part; the header part then waits for the
// directive that leads back. Anywhere else: the "#line" line back into the
// current file, when the waiting header part's function was not finished.
void writeInFunctionDirective(const CoverageProbe& probe, ListingContext& context);

// The "#line" line back into the current file that precedes the function
// probe `functionProbe` while a header part is still waiting.
void writeFileLevelDirective(const CoverageProbe& functionProbe, ListingContext& context);

} // namespace kiv
