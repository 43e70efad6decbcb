#pragma once

#include <ctime>
#include <optional>
#include <string>
#include <string_view>

namespace kiv {

// The instant named by a reproducible-build timestamp: a non-empty run of
// decimal digits that fits a time value. Anything else gives nothing.
std::optional<std::time_t> parseSourceDateEpoch(const char* text);

// A broken-down time in the fixed layout "Thu Jan  1 00:00:00 1970" (the
// classic asctime form without its newline).
std::string formatRunTime(const std::tm& time);

// The time of this merge run: the SOURCE_DATE_EPOCH instant in UTC when that
// variable holds a valid timestamp, otherwise the current local time.
std::string runTimeText();

// The same instant in seconds since the epoch.
std::time_t runInstant();

} // namespace kiv
