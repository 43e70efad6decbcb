#pragma once

#include <functional>
#include <ostream>
#include <string>

#include "diagnostics/diagnostic_record.hpp"

namespace kiv {

// Writes one output: "-" is the given standard output, any other name a file
// that is created or truncated. A file that cannot be opened raises code 24;
// a stream that failed by the time the output is flushed and closed raises
// code 25, composed in `record`. The output is complete and closed when this
// returns.
void writeOutput(const std::string& name, std::ostream& standardOutput,
                 const std::function<void(std::ostream&)>& write,
                 DiagnosticRecord& record = diagnosticRecord());

// Whether two output names surely name two different files: neither is
// standard output, and they are not one file under two spellings or links.
bool separateFiles(const std::string& first, const std::string& second);

} // namespace kiv
