#pragma once

#include <ostream>
#include <vector>

#include "export/export_records.hpp"

namespace kiv {

class WrittenNames;

// Writes the export records of a finished model as an lcov tracefile: one
// record each, in key order, with its functions, branches and lines. Leaves
// the totals of every record in it.
void writeLcov(const std::vector<ExportRecord>& records, const WrittenNames& names,
               std::ostream& stream);

} // namespace kiv
