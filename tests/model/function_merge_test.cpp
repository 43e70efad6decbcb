#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "model_test_support.hpp"

namespace kiv {
namespace {

using test::header;

constexpr std::uint32_t kMaxCount = std::numeric_limits<std::uint32_t>::max();
constexpr std::int32_t kMaxCost = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t kMinCost = std::numeric_limits<std::int32_t>::min();

struct HeaderCase {
    std::string what;
    FunctionHeader first, second;
    std::uint32_t calls;
    std::int32_t total, max;
};

TEST(FunctionMerge, SameFunctionSumsCallsAndCosts) {
    const std::vector<HeaderCase> cases = {
        {"sums", header(3, 10, 4), header(5, 20, 7), 8, 30, 7},
        {"larger max kept", header(1, 10, 9), header(1, 2, 2), 2, 12, 9},
        {"max compared signed", header(0, -5, -5), header(0, -3, -3), 0, -8, -3},
        {"calls saturate", header(4000000000U, 0, 0), header(1000000000U, 0, 0), kMaxCount, 0, 0},
        {"calls reach the top exactly", header(kMaxCount - 1, 0, 0), header(1, 0, 0), kMaxCount, 0,
         0},
        {"cost saturates upwards", header(0, kMaxCost - 1, 1), header(0, 5, 1), 0, kMaxCost, 1},
        {"cost saturates downwards", header(0, kMinCost + 1, 0), header(0, -5, 0), 0, kMinCost, 0},
        {"cost back from the top", header(0, kMaxCost, 0), header(0, -1, 0), 0, kMaxCost - 1, 0},
    };
    for (const HeaderCase& c : cases) {
        SCOPED_TRACE(c.what);
        CoverageFile file("a.c", kSourceFile, "a.c", true);
        file.addFunction("f", 4, "(int x)", c.first);
        file.addFunction("f", 4, "(int x)", c.second);
        ASSERT_EQ(file.functionMap.size(), 1U);
        const CoverageFunction& f = *file.functionMap.begin()->second;
        EXPECT_EQ(f.callCount, c.calls);
        EXPECT_EQ(f.totalExecutionCost, c.total);
        EXPECT_EQ(f.maxExecutionCost, c.max);
    }
}

TEST(FunctionMerge, EveryOccurrenceRecordsItsDirectiveLines) {
    CoverageFile file("a.h", kHeaderFile, "a.h", true);
    file.addFunction("f", 4, "()", header(1, 0, 0, 12, 3));
    file.addFunction("f", 4, "()", header(1, 0, 0, 0, 0));
    file.addFunction("f", 4, "()", header(1, 0, 0, 40, 3));
    const CoverageFunction& f = *file.findFunction("f", 4, "()");
    std::vector<std::uint32_t> lines, numbers;
    f.directiveProbeLines.forEach([&](std::uint32_t v) { lines.push_back(v); });
    f.directiveNumbers.forEach([&](std::uint32_t v) { numbers.push_back(v); });
    EXPECT_EQ(lines, (std::vector<std::uint32_t>{12, 0, 40}));
    EXPECT_EQ(numbers, (std::vector<std::uint32_t>{3, 0, 3}));
    EXPECT_EQ(f.firstHeader.directiveProbeLine, 12U);
}

struct Fn {
    std::string name;
    std::uint32_t line;
    std::string parameters;
};

TEST(FunctionMerge, IdentityIsNameLineAndParametersExactly) {
    CoverageFile file("a.c", kSourceFile, "a.c", true);
    const std::vector<Fn> added = {
        {"f", 10, "(int)"},  {"g", 5, "()"},     {"f", 10, "(long)"},
        {"f", 10, "( int)"}, {"F", 10, "(int)"}, {"f", 11, "(int)"},
        {"h", 10, "()"},     {"f", 10, "(int)"}, {"g", 5, "()"},
    };
    std::uint32_t calls = 1;
    for (const Fn& fn : added)
        file.addFunction(fn.name, fn.line, fn.parameters, header(calls++));

    // Ordered by line; functions on one line in the order first met; the
    // repeated f(int) and g() merged in place.
    const std::vector<std::string> order = {"g()",    "f(int)", "f(long)", "f( int)",
                                            "F(int)", "h()",    "f(int)"};
    std::vector<std::string> seen;
    for (const auto& [line, function] : file.functionMap)
        seen.push_back(function->name + function->parameters);
    EXPECT_EQ(seen, order);
    EXPECT_EQ(file.findFunction("f", 10, "(int)")->callCount, 1U + 8U);
    EXPECT_EQ(file.findFunction("g", 5, "()")->callCount, 2U + 9U);
    EXPECT_EQ(file.findFunction("f", 11, "(int)")->callCount, 6U);
    EXPECT_EQ(file.findFunction("f", 12, "(int)"), nullptr);
}

} // namespace
} // namespace kiv
