#include <gtest/gtest.h>

#include "evaluation/ter.hpp"

namespace kiv {
namespace {

struct TerCase {
    std::uint32_t hits;
    std::uint32_t all;
    std::uint32_t ter;
};

TEST(Ter, IsTruncatedPercentageAndHundredForNothing) {
    const TerCase cases[] = {
        {2, 3, 66},
        {1, 3, 33},
        {0, 5, 0},
        {199, 200, 99},
        {0, 0, 100},
        {3, 0, 100},
        {1, 1, 100},
        {5, 10, 50},
        {1, 4294967295U, 0},
        {4294967295U, 4294967295U, 100}, // needs 64 bits: hits * 100 overflows 32
        {4294967294U, 4294967295U, 99},
    };
    for (const TerCase& c : cases)
        EXPECT_EQ(computeTer(c.hits, c.all), c.ter) << c.hits << "/" << c.all;
}

TEST(TerText, PadsEveryNumberToThreePlacesAndWidensBeyond) {
    struct Case {
        std::uint32_t ter, hits, all;
        const char* text;
    };
    const Case cases[] = {
        {75, 3, 4, " 75 % (  3/  4)"},
        {0, 0, 1, "  0 % (  0/  1)"},
        {100, 0, 0, "100 % (  0/  0)"},
        {99, 999, 1000, " 99 % (999/1000)"},
        {100, 1000, 1000, "100 % (1000/1000)"},
        {1, 42949672, 4294967295U, "  1 % (42949672/4294967295)"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(terText(c.ter, c.hits, c.all), c.text);
}

TEST(StatementText, FunctionFileAndOverallForms) {
    EXPECT_EQ(functionStatementText(true, 66, 2, 3), " 66 % (  2/  3) statement");
    EXPECT_EQ(functionStatementText(false, 66, 2, 3), "N.A. statement");

    struct FileCase {
        std::uint32_t available, ter, hits, all, na;
        const char* text;
    };
    const FileCase files[] = {
        {0, 100, 0, 0, 2, "100 % (  0/  0) statement (N.A. for 2 functions)"},
        {0, 100, 0, 0, 0, "100 % (  0/  0) statement"},
        {2, 50, 1, 2, 1, " 50 % (  1/  2) statement (N.A. for 1 functions)"},
        {3, 99, 1999, 2000, 0, " 99 % (1999/2000) statement"},
        // Counts left by functions without statement coverage are not shown.
        {0, 40, 2, 5, 1, "100 % (  0/  0) statement (N.A. for 1 functions)"},
    };
    for (const FileCase& c : files)
        EXPECT_EQ(fileStatementText(c.available, c.ter, c.hits, c.all, c.na), c.text);

    const FileCase overall[] = {
        {4, 70, 7, 10, 1, "70 % (7/10) statement (N.A. for 1 functions)"},
        {0, 100, 0, 0, 0, "100 % (0/0) statement"},
        {0, 100, 0, 0, 3, "100 % (0/0) statement (N.A. for 3 functions)"},
        {1, 0, 0, 1000, 0, "0 % (0/1000) statement"},
    };
    for (const FileCase& c : overall)
        EXPECT_EQ(overallStatementText(c.available, c.ter, c.hits, c.all, c.na), c.text);
}

} // namespace
} // namespace kiv
