#include "evaluation/run_time.hpp"

#include <array>
#include <cstdio>
#include <cstdlib>
#include <limits>

namespace kiv {

namespace {

constexpr std::array<const char*, 7> kWeekdays = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
constexpr std::array<const char*, 12> kMonths = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                 "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

const char* nameOf(int index, const char* const* names, int count) {
    return index >= 0 && index < count ? names[index] : "???";
}

} // namespace

std::optional<std::time_t> parseSourceDateEpoch(const char* text) {
    if (text == nullptr || *text == '\0') return std::nullopt;
    constexpr auto kLimit =
        static_cast<unsigned long long>(std::numeric_limits<std::time_t>::max());
    unsigned long long value = 0;
    for (const char* p = text; *p != '\0'; ++p) {
        if (*p < '0' || *p > '9') return std::nullopt;
        const auto digit = static_cast<unsigned long long>(*p - '0');
        if (value > (kLimit - digit) / 10) return std::nullopt;
        value = value * 10 + digit;
    }
    return static_cast<std::time_t>(value);
}

std::string formatRunTime(const std::tm& time) {
    char buffer[64];
    const int length = std::snprintf(buffer, sizeof buffer, "%.3s %.3s%3d %.2d:%.2d:%.2d %lld",
                                     nameOf(time.tm_wday, kWeekdays.data(), 7),
                                     nameOf(time.tm_mon, kMonths.data(), 12), time.tm_mday,
                                     time.tm_hour, time.tm_min, time.tm_sec, 1900LL + time.tm_year);
    if (length < 0) return {};
    return std::string(buffer, static_cast<std::size_t>(length));
}

std::string runTimeText() {
    std::tm broken{};
    if (const std::optional<std::time_t> epoch =
            parseSourceDateEpoch(std::getenv("SOURCE_DATE_EPOCH"))) {
        // An instant too far away to be broken down falls back to the clock.
        if (gmtime_r(&*epoch, &broken) != nullptr) return formatRunTime(broken);
    }
    const std::time_t now = std::time(nullptr);
    if (localtime_r(&now, &broken) == nullptr) broken = std::tm{};
    return formatRunTime(broken);
}

std::time_t runInstant() {
    if (const std::optional<std::time_t> epoch =
            parseSourceDateEpoch(std::getenv("SOURCE_DATE_EPOCH")))
        return *epoch;
    return std::time(nullptr);
}

} // namespace kiv
