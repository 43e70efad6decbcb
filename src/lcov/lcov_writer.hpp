#pragma once

#include <ostream>

namespace kiv {

class Coverage;
class WrittenNames;

// Writes the finished model as an lcov tracefile: one record per exported
// file, in key order, with its functions, branches and lines.
void writeLcov(const Coverage& coverage, const WrittenNames& names, std::ostream& stream);

} // namespace kiv
