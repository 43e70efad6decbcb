#pragma once

#include <ostream>

namespace kiv {

// The command-line help of kivxmlexport.
void writeExportUsage(std::ostream& out);

} // namespace kiv
