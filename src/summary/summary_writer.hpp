#pragma once

#include <ostream>

namespace kiv {

class Coverage;

// Writes the merged summary XML report of a finished model.
void writeSummary(const Coverage& coverage, std::ostream& out);

} // namespace kiv
