#pragma once

#include <ctime>
#include <ostream>
#include <string_view>

namespace kiv {

class Coverage;
class WrittenNames;

// What the document says of the run itself.
struct CoberturaRun {
    std::string_view version; // the program's version
    std::string_view source;  // the directory the file names are relative to
    std::time_t timestamp;    // seconds
};

// Writes the finished model as Cobertura XML: one package per directory of
// the written file names (by name), one class per exported file, one method
// per function, each with its lines and their branches.
void writeCobertura(const Coverage& coverage, const WrittenNames& names, const CoberturaRun& run,
                    std::ostream& stream);

} // namespace kiv
