#pragma once

#include <ostream>

namespace kiv {

// The command-line help.
void writeUsage(std::ostream& out);

} // namespace kiv
