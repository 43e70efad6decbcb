#pragma once

#include <string_view>

namespace kiv {

// Reports of kivpost 8.2, 8.3 and 9 can be read: the first character is "9",
// or it is "8" and the third is "2" or "3". Nothing else of the text counts,
// and a text too short to show that is rejected.
bool isAcceptedVersion(std::string_view version);

} // namespace kiv
