#pragma once

#include <string_view>

namespace kiv {

inline constexpr int kMessageCount = 25;

// The message text of a code (1 to 25); an empty view for any other code.
std::string_view messageText(int code);

} // namespace kiv
