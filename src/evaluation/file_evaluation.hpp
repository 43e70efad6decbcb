#pragma once

#include <string_view>

#include "model/coverage_file.hpp"

namespace kiv {

// Settles the file's instrumentation mode: every input must have reported the
// same one (code 17 naming the file otherwise). Sets the function-coverage-only
// and execution-cost flags from it and from the requested view.
void applyInstrumentationMode(CoverageFile& file, std::string_view requestedView);

// The file's lines (the largest any input reported), measurement points, hits,
// all and TER from its already evaluated functions.
void sumFileFunctions(CoverageFile& file);

// Statement coverage of the file and its functions, then every TER text of
// both.
void evaluateFileStatements(CoverageFile& file);

} // namespace kiv
