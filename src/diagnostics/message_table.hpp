#pragma once

#include <string_view>

namespace kiv {

// Both programs share one table: the merge program raises codes 1 to 25,
// the export program the codes it shares with it and those after 25.
inline constexpr int kMessageCount = 29;
inline constexpr int kLastMergeCode = 25;

// The message text of a code (1 to kMessageCount); an empty view for any
// other code.
std::string_view messageText(int code);

} // namespace kiv
