#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "model_test_support.hpp"

namespace kiv {
namespace {

using test::OneFunction;
using test::P;

constexpr std::uint32_t kMaxCount = std::numeric_limits<std::uint32_t>::max();

std::vector<std::uint32_t> entries(const RunList& list) {
    std::vector<std::uint32_t> values;
    list.forEach([&](std::uint32_t v) { values.push_back(v); });
    return values;
}

TEST(ProbeMerge, LaterOccurrencesSumIntoTheFirst) {
    OneFunction f;
    f.occurrence({P{.type = kIf, .line = 3, .descr = "if (x)", .c1 = 2, .c2 = 0, .sc = 1},
                  P{.line = 4, .descr = "return 1", .c1 = 4000000000U}});
    f.occurrence({P{.type = kIf, .line = 3, .descr = "if (x)", .c1 = 1, .c2 = 5, .sc = 1},
                  P{.line = 4, .descr = "return 1", .c1 = 1000000000U}});
    f.occurrence({P{.type = kIf, .line = 3, .descr = "if (x)", .c1 = 0, .c2 = 0, .sc = 1},
                  P{.line = 4, .descr = "return 1", .c1 = 7}});

    EXPECT_EQ(f.fn().occurrences, 2U);
    EXPECT_EQ(f.fn().probes.size(), 3U);
    EXPECT_TRUE(f.available());
    const CoverageProbe& decision = *f.at(3).at(0);
    EXPECT_EQ(decision.counters, (std::array<std::uint32_t, 2>{3, 5}));
    EXPECT_EQ(decision.mergeCount, 2U);
    EXPECT_EQ(decision.covered, 2U);
    EXPECT_EQ(entries(decision.scCounts()), (std::vector<std::uint32_t>{1, 1, 1}));
    EXPECT_EQ(entries(decision.sourceLines()), (std::vector<std::uint32_t>{3, 3, 3}));
    EXPECT_EQ(f.at(4).at(0)->counters[0], kMaxCount);
    EXPECT_EQ(f.at(1).at(0)->counters[0], 3U); // the function probes
}

TEST(ProbeMerge, FirstOccurrenceKeepsIdenticalProbes) {
    OneFunction f;
    f.occurrence(
        {P{.line = 2, .descr = "break", .c1 = 1}, P{.line = 2, .descr = "break", .c1 = 2}});
    ASSERT_EQ(f.at(2).size(), 2U);
    EXPECT_EQ(f.at(2)[0]->counters[0], 1U);
    EXPECT_EQ(f.at(2)[1]->counters[0], 2U);
    EXPECT_TRUE(f.available());
}

struct MissingCase {
    std::string what;
    std::vector<std::uint32_t> secondLines; // lines of the later occurrence's probes
    bool available;
};

// The first occurrence has probes on lines 2, 3, 3 (a second probe) and 5.
TEST(ProbeMerge, ProbeMissingFromALaterOccurrence) {
    const std::vector<MissingCase> cases = {
        {"all there", {2, 3, 33, 5}, true},
        {"missing before a later match", {2, 3, 33}, true},
        {"missing then matched later", {2, 33, 5}, false},
        {"missing on the same line only", {2, 33}, true},
        {"first missing", {3, 33, 5}, false},
        {"only the last", {5}, false},
    };
    for (const MissingCase& c : cases) {
        SCOPED_TRACE(c.what);
        OneFunction f;
        f.occurrence({P{.line = 2, .descr = "a"}, P{.line = 3, .descr = "b"},
                      P{.line = 3, .descr = "c"}, P{.line = 5, .descr = "d"}});
        f.add(P{.type = kFunction, .line = 1, .descr = "f()"});
        for (std::uint32_t line : c.secondLines)
            f.add(line == 33 ? P{.line = 3, .descr = "c"}
                             : P{.line = line, .descr = std::string(1, "??abcd"[line])});
        EXPECT_EQ(f.available(), c.available);
        EXPECT_EQ(f.fn().probes.size(), 5U);
    }
}

TEST(ProbeMerge, EveryOccurrenceIsCheckedForMissingProbes) {
    OneFunction f;
    const P a{.line = 2, .descr = "a"}, b{.line = 3, .descr = "b"}, c{.line = 4, .descr = "c"};
    f.occurrence({a, b, c});
    f.occurrence({a, b, c});
    f.occurrence({a, b, c});
    EXPECT_TRUE(f.available());
    f.occurrence({a, c});
    EXPECT_FALSE(f.available());
    EXPECT_EQ(f.at(3).at(0)->mergeCount, 2U);
    EXPECT_EQ(f.at(4).at(0)->mergeCount, 3U);
}

TEST(ProbeMerge, ExtraProbeIsAddedAndStatementsGiveUp) {
    OneFunction f;
    f.occurrence({P{.line = 2, .descr = "a", .c1 = 1}});
    f.occurrence({P{.line = 2, .descr = "a", .c1 = 1}, P{.line = 2, .descr = "z", .c1 = 9}});
    EXPECT_FALSE(f.available());
    ASSERT_EQ(f.at(2).size(), 2U);
    EXPECT_EQ(f.at(2)[1]->description, "z");
}

struct SameCase {
    std::string what;
    P first, later;
    bool merged;
};

TEST(ProbeMerge, WhatMakesTheSameProbe) {
    const std::vector<SameCase> cases = {
        {"equal", P{.line = 5, .descr = "x = 1"}, P{.line = 5, .descr = "x = 1"}, true},
        {"description", P{.line = 5, .descr = "x = 1"}, P{.line = 5, .descr = "x = 2"}, false},
        {"nesting", P{.line = 5, .descr = "x", .nesting = 1}, P{.line = 5, .descr = "x"}, false},
        {"type", P{.type = kReturn, .line = 5, .descr = "x"},
         P{.type = kBreak, .line = 5, .descr = "x"}, false},
        {"line", P{.line = 5, .descr = "x"}, P{.line = 6, .descr = "x"}, false},
        {"mcdc verdicts differ", P{.type = kMcdc, .line = 5, .descr = "1: 1 - 3, 2 + 4"},
         P{.type = kMcdc, .line = 5, .descr = "1: 1 + 3, 2 - 4"}, true},
        {"mcdc pairs differ", P{.type = kMcdc, .line = 5, .descr = "1: 1 - 3"},
         P{.type = kMcdc, .line = 5, .descr = "1: 1 - 4"}, false},
        {"minus elsewhere than mcdc", P{.line = 5, .descr = "x - 1"},
         P{.line = 5, .descr = "x + 1"}, false},
        {"ternary number", P{.type = kTernary, .line = 5, .descr = "a ? b : c", .seq = 1},
         P{.type = kTernary, .line = 5, .descr = "a ? b : c", .seq = 0}, false},
        {"ternary same number", P{.type = kTernary, .line = 5, .descr = "a ? b : c", .seq = 1},
         P{.type = kTernary, .line = 5, .descr = "a ? b : c", .seq = 1}, true},
        {"number ignored elsewhere", P{.line = 5, .descr = "x", .seq = 1},
         P{.line = 5, .descr = "x", .seq = 0}, true},
    };
    for (const SameCase& c : cases) {
        SCOPED_TRACE(c.what);
        OneFunction f;
        f.occurrence({c.first});
        f.occurrence({c.later});
        EXPECT_EQ(f.fn().probes.size(), c.merged ? 2U : 3U);
        EXPECT_EQ(f.available(), c.merged);
    }
}

TEST(ProbeMerge, TernariesOnOneLineMergeByNumber) {
    OneFunction f;
    const auto ternary = [](std::uint32_t seq, std::uint32_t c1) {
        return P{.type = kTernary, .line = 7, .descr = "?:", .c1 = c1, .seq = seq};
    };
    f.occurrence({ternary(0, 1), ternary(1, 10)});
    f.occurrence({ternary(0, 2), ternary(1, 20)});
    ASSERT_EQ(f.at(7).size(), 2U);
    EXPECT_EQ(f.at(7)[0]->counters[0], 3U);
    EXPECT_EQ(f.at(7)[1]->counters[0], 30U);
    EXPECT_TRUE(f.available());
}

TEST(ProbeMerge, ConditionsBelongToTheDecisionBeforeThem) {
    OneFunction f;
    const auto body = [](std::uint32_t n) {
        return std::vector<P>{
            P{.type = kIf, .line = 3, .descr = "if (a && b)", .c1 = n},
            P{.type = kMultiCondT, .line = 3, .descr = "1: T && T", .c1 = n},
            P{.type = kMcdc, .line = 3, .descr = "1: 1 - 2"},
            P{.type = kIf, .line = 3, .descr = "if (c && d)", .c1 = 10 * n},
            P{.type = kMultiCondT, .line = 3, .descr = "1: T && T", .c1 = 10 * n},
            P{.type = kMcdc, .line = 3, .descr = "1: 1 + 2"},
        };
    };
    f.occurrence(body(1));
    EXPECT_EQ(f.fn().lastDescription, "if (c && d)");
    f.occurrence(body(2));
    EXPECT_TRUE(f.available());
    const auto line = f.at(3);
    ASSERT_EQ(line.size(), 6U);
    EXPECT_EQ(line[0]->context, "");
    EXPECT_EQ(line[1]->context, "if (a && b)");
    EXPECT_EQ(line[1]->counters[0], 3U);
    EXPECT_EQ(line[2]->context, "if (a && b)");
    EXPECT_EQ(line[2]->mergeCount, 1U);
    EXPECT_EQ(line[4]->context, "if (c && d)");
    EXPECT_EQ(line[4]->counters[0], 30U);
    EXPECT_EQ(line[5]->mergeCount, 1U);
}

struct ScCase {
    std::string what;
    std::vector<std::uint32_t> stored; // sc_count of the first occurrence's equal probes
    std::uint32_t later;               // sc_count of the later probe
    int target;                        // index of the probe merged into, -1 for a new probe
    bool available;
};

TEST(ProbeMerge, ScCountChoosesAmongEqualProbes) {
    const std::vector<ScCase> cases = {
        {"one, equal", {2}, 2, 0, true},
        {"one, different", {2}, 3, 0, false},
        {"several equal: the last", {2, 2, 2}, 2, 2, false},
        {"several equal, other value: the last", {2, 2}, 5, 1, false},
        {"mixed: first with the value", {1, 2, 1, 2}, 2, 1, true},
        {"mixed: first of several", {1, 2, 1}, 1, 0, true},
        {"mixed: none with the value", {1, 2}, 3, -1, false},
    };
    for (const ScCase& c : cases) {
        SCOPED_TRACE(c.what);
        OneFunction f;
        f.add(P{.type = kFunction, .line = 1, .descr = "f()"});
        for (std::uint32_t sc : c.stored)
            f.add(P{.type = kIf, .line = 4, .descr = "if (x)", .sc = sc});
        f.add(P{.type = kFunction, .line = 1, .descr = "f()"});
        f.add(P{.type = kIf, .line = 4, .descr = "if (x)", .c1 = 1, .sc = c.later});

        const auto line = f.at(4);
        ASSERT_EQ(line.size(), c.stored.size() + (c.target < 0 ? 1 : 0));
        for (std::size_t i = 0; i < c.stored.size(); ++i) {
            const bool isTarget = static_cast<int>(i) == c.target;
            EXPECT_EQ(line[i]->counters[0], isTarget ? 1U : 0U) << "probe " << i;
            EXPECT_EQ(line[i]->mergeCount, isTarget ? 1U : 0U) << "probe " << i;
        }
        if (c.target < 0) {
            EXPECT_EQ(line.back()->counters[0], 1U);
        }
        EXPECT_EQ(f.available(), c.available);
    }
}

TEST(ProbeMerge, ManyEqualProbesOnOneLine) {
    OneFunction f;
    f.add(P{.type = kFunction, .line = 1, .descr = "f()"});
    for (int i = 0; i < 300; ++i)
        f.add(P{.line = 2, .descr = "x++", .sc = 0});
    for (int occurrence = 0; occurrence < 2; ++occurrence) {
        f.add(P{.type = kFunction, .line = 1, .descr = "f()"});
        for (int i = 0; i < 300; ++i)
            f.add(P{.line = 2, .descr = "x++", .c1 = 1});
    }
    const auto line = f.at(2);
    ASSERT_EQ(line.size(), 300U);
    EXPECT_EQ(line.back()->counters[0], 600U);
    EXPECT_EQ(line.front()->mergeCount, 0U);
    EXPECT_FALSE(f.available());
}

TEST(ProbeMerge, DecisionOutcomesAddUpOverOccurrences) {
    OneFunction f;
    f.occurrence({P{.type = kIf, .line = 2, .descr = "if", .c1 = 1}});
    f.occurrence({P{.type = kIf, .line = 2, .descr = "if", .c2 = 1}});
    EXPECT_EQ(f.at(2).at(0)->covered, 2U);
}

} // namespace
} // namespace kiv
