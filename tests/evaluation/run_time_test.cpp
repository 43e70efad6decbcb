#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <regex>
#include <string>

#include "evaluation/run_time.hpp"

namespace kiv {
namespace {

// Sets SOURCE_DATE_EPOCH for one test and puts the previous state back.
class EpochVariable {
  public:
    EpochVariable() {
        if (const char* value = std::getenv("SOURCE_DATE_EPOCH")) saved_ = value;
    }
    ~EpochVariable() {
        if (saved_) {
            setenv("SOURCE_DATE_EPOCH", saved_->c_str(), 1);
        } else {
            unsetenv("SOURCE_DATE_EPOCH");
        }
    }
    void set(const char* value) { setenv("SOURCE_DATE_EPOCH", value, 1); }
    void unset() { unsetenv("SOURCE_DATE_EPOCH"); }

  private:
    std::optional<std::string> saved_;
};

const std::regex
    kLayout("(Sun|Mon|Tue|Wed|Thu|Fri|Sat) (Jan|Feb|Mar|Apr|May|Jun|Jul|Aug|Sep|Oct|Nov|Dec) "
            "[ 1-3][0-9] [0-2][0-9]:[0-5][0-9]:[0-6][0-9] [0-9]{4}");

TEST(RunTime, ReproducibleInstantIsFormattedInUtc) {
    EpochVariable epoch;
    const std::pair<const char*, const char*> cases[] = {
        {"0", "Thu Jan  1 00:00:00 1970"},
        {"1700000000", "Tue Nov 14 22:13:20 2023"},
        {"951782400", "Tue Feb 29 00:00:00 2000"},
        {"000086399", "Thu Jan  1 23:59:59 1970"},
    };
    for (const auto& [value, text] : cases) {
        epoch.set(value);
        EXPECT_EQ(runTimeText(), text) << value;
    }
}

TEST(RunTime, OtherValuesFallBackToTheClock) {
    EpochVariable epoch;
    for (const char* value :
         {"", "-1", "+5", "12x", " 12", "1.5", "abc", "99999999999999999999999999"}) {
        epoch.set(value);
        const std::string text = runTimeText();
        EXPECT_TRUE(std::regex_match(text, kLayout)) << "'" << value << "' gave '" << text << "'";
    }
    epoch.unset();
    EXPECT_TRUE(std::regex_match(runTimeText(), kLayout));
}

TEST(RunTime, EpochParsingAcceptsOnlyPlainDigits) {
    EXPECT_EQ(parseSourceDateEpoch("42"), std::optional<std::time_t>(42));
    EXPECT_EQ(parseSourceDateEpoch(nullptr), std::nullopt);
    EXPECT_EQ(parseSourceDateEpoch(""), std::nullopt);
    EXPECT_EQ(parseSourceDateEpoch("4 2"), std::nullopt);
    EXPECT_EQ(parseSourceDateEpoch("9223372036854775808"), std::nullopt); // past time_t
}

TEST(RunTime, LayoutPadsTheDayWithABlank) {
    std::tm time{};
    time.tm_wday = 1;
    time.tm_mon = 11;
    time.tm_mday = 10;
    time.tm_hour = 7;
    time.tm_min = 5;
    time.tm_sec = 3;
    time.tm_year = 126;
    EXPECT_EQ(formatRunTime(time), "Mon Dec 10 07:05:03 2026");
    time.tm_mday = 8;
    EXPECT_EQ(formatRunTime(time), "Mon Dec  8 07:05:03 2026");
}

} // namespace
} // namespace kiv
