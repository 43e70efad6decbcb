#pragma once

#include <string_view>

namespace kiv {

// The program whose diagnostics are composed: every diagnostic line begins
// with "*** <name> error ". The driver names the program before anything can
// go wrong; the merge program's name until then.
void setProgramName(std::string_view name);
std::string_view programName();

} // namespace kiv
