#pragma once

#include <ctime>
#include <ostream>
#include <string_view>
#include <vector>

#include "export/export_records.hpp"

namespace kiv {

class WrittenNames;

// What the document says of the run itself.
struct CoberturaRun {
    std::string_view version; // the program's version
    std::string_view source;  // the directory the file names are relative to
    std::time_t timestamp;    // seconds
};

// Writes the export records of a finished model as Cobertura XML: one package
// per directory of the written file names (by name), one class per record,
// one method per function, each with its lines and their branches. Folds
// every record once first, for the totals that the opening elements carry.
void writeCobertura(const std::vector<ExportRecord>& records, const WrittenNames& names,
                    const CoberturaRun& run, std::ostream& stream);

} // namespace kiv
