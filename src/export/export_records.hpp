#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

#include "export/line_fold.hpp"

namespace kiv {

class Coverage;
class CoverageFile;
class CoverageFunction;

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

// The blocks in which an export writer hands its output to the stream. The
// system takes a large write into its cache in large pieces: a 92 MB
// Cobertura file took 60 ms in 256 KB blocks, 68 ms in 64 KB ones, and
// larger blocks gained nothing more. Still small beside the whole model,
// though both writers may run at once.
inline constexpr std::size_t kExportBlockSize = 256 * 1024;

// The records of a finished model, in ascending byte order of their keys.
// Every probe of them is in its place, so that writers on several threads
// may read them (and the model) at once.
std::vector<ExportRecord> exportRecords(const Coverage& coverage);

// The functions whose probes a record shows: those of its file, then the
// pseudo functions of its header parts.
void recordFunctions(const ExportRecord& record, std::vector<const CoverageFunction*>& functions);

} // namespace kiv
