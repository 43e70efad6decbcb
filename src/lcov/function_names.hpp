#pragma once

#include <string>
#include <vector>

namespace kiv {

class CoverageFile;

// The names under which a tracefile lists the functions of a file, in the
// order of the file's functions. A function's name is its own; when another
// function of the file has the same name, its parameters follow it. Readers
// of tracefiles end a function name at its first comma, so a comma is written
// as ";". A name that would still be empty or the same as another's gets "@"
// and its defined_at_line appended (then "#2", "#3" ... where even that is
// taken), so that every function keeps a record of its own.
std::vector<std::string> lcovFunctionNames(const CoverageFile& file);

} // namespace kiv
