#pragma once

#include <string>

namespace kiv {

class Coverage;

// A deterministic text picture of a merged (or finished) model, for tests:
// the header lists, then every file in key order with its lists, functions
// and probes. One item per line, nested items indented by two blanks.
std::string dumpModel(const Coverage& coverage);

} // namespace kiv
