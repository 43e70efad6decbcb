#pragma once

namespace kiv {

class Coverage;
class ListingOutput;

// The boxed title with versions and copyright lines, then two empty lines.
void writeHeaderBox(const Coverage& coverage, ListingOutput& out);

// The inputs, the -f and -nf patterns, the run time and the coverage view,
// then three empty lines.
void writeInputSection(const Coverage& coverage, ListingOutput& out);

} // namespace kiv
