#pragma once

#include <string>
#include <vector>

namespace kiv {

// The program's version text: major.minor.patch.build.
const std::string& versionText();

// The marker embedded in the binary ("$VERSIONINFO$<version>$<date>$<time>$$");
// never printed.
const char* versionMarker();

// The maker's two copyright notices, the earlier first.
std::vector<std::string> copyrightLines();

} // namespace kiv
