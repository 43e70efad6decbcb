#pragma once

#include <ostream>

namespace kiv {

class Coverage;

// Writes the merged execution profile listing of a finished model.
void writeListing(const Coverage& coverage, std::ostream& out);

} // namespace kiv
