#pragma once

#include <string_view>
#include <vector>

namespace kiv {

class Coverage;
class CoverageFile;

// One file as the export shows it: a chosen source or header file together
// with the code of the same file met inside functions (its header parts), all
// under the file's key. A header met only inside functions has a record of
// its own, under the header's key.
struct ExportRecord {
    std::string_view key;
    std::string_view displayName;           // the spelling the file was first met under
    const CoverageFile* file = nullptr;     // the source or header file, when chosen
    std::vector<const CoverageFile*> parts; // its chosen header parts, in key order
};

// The records of a finished model, in ascending byte order of their keys.
std::vector<ExportRecord> exportRecords(const Coverage& coverage);

} // namespace kiv
