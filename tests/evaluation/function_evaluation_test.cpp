#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "diagnostics/diagnostic_record.hpp"
#include "evaluation/function_evaluation.hpp"
#include "evaluation/model_builder.hpp"
#include "evaluation/multi_condition_flag.hpp"
#include "evaluation/point_count.hpp"

namespace kiv {
namespace {

using test::ModelBuilder;

TEST(PointCount, PerTypeTable) {
    const std::pair<std::uint8_t, int> cases[] = {
        {kIf, 2},
        {kElseIf, 2},
        {kWhile, 2},
        {kFor, 2},
        {kTernary, 2},
        {kDoWhile, 2},
        {kSubCond, 2},
        {kExprAndor, 2},
        {kElse, 0},
        {kSwitch, 0},
        {kDo, 0},
        {kBlockEnd, 0},
        {kFunctionEndNr, 0},
        {kLambdaEndNr, 0},
        {kFunctionTryBlock, 0},
        {kLabel, 0},
        {kMcdc, 0},
        {kUserAnnotation, 0},
        {kLinedir, 0},
        {kLinedirInFunction, 0},
        {kFunction, 1},
        {kReturn, 1},
        {kCase, 1},
        {kConstIf, 1},
        {kFunctionEnd, 1},
        {kMissingDefault, 1},
        {kGoto, 1},
        {kSehExcept, 1},
    };
    for (const auto& [type, points] : cases)
        EXPECT_EQ(pointsOfType(type), points) << +type;
}

TEST(PointCount, ConditionsReplaceTheirDecisionAndTheStateCarriesOn) {
    ModelBuilder builder;
    CoverageFile& file = builder.file("a.c");
    // if + 3 conditions: 3 points for the decision, plus the function entry.
    CoverageFunction& first = ModelBuilder::function(file, "first", 1);
    ModelBuilder::probe(first, kFunction, 1, 1);
    ModelBuilder::probe(first, kIf, 2, 1, 1);
    ModelBuilder::probe(first, kMultiCondT, 2, 1);
    ModelBuilder::probe(first, kMultiCondF, 2, 0, 1);
    ModelBuilder::probe(first, kMultiCondF, 2);
    // Ends on a condition probe: the next function starts "after a condition".
    CoverageFunction& second = ModelBuilder::function(file, "second", 10);
    ModelBuilder::probe(second, kMultiCondT, 10, 1);
    ModelBuilder::probe(second, kReturn, 11, 1);
    // A fresh "not after a condition" state would take this below zero.
    CoverageFunction& third = ModelBuilder::function(file, "third", 20);
    ModelBuilder::probe(third, kMultiCondT, 20);
    // A function that already holds points keeps them.
    CoverageFunction& fourth = ModelBuilder::function(file, "fourth", 30);
    fourth.points = 4294967290U;
    for (std::uint32_t line = 30; line < 40; ++line)
        ModelBuilder::probe(fourth, kReturn, line);

    ASSERT_EQ(builder.finish(), "");
    EXPECT_EQ(first.points, 4U);
    EXPECT_EQ(second.points, 2U);
    EXPECT_EQ(third.points, 0U);
    EXPECT_EQ(fourth.points, 4294967295U);
    EXPECT_EQ(file.points, 4294967295U);
    EXPECT_EQ(builder.coverage->points, 4294967295U);
}

TEST(PointCount, EveryRunStartsFromAFreshState) {
    for (int run = 0; run < 2; ++run) {
        ModelBuilder builder;
        CoverageFile& file = builder.file("a.c");
        CoverageFunction& function = ModelBuilder::function(file, "f", 1);
        ModelBuilder::probe(function, kMultiCondT, 1);
        ModelBuilder::probe(function, kMultiCondT, 1);
        ModelBuilder::probe(function, kMultiCondT, 1);
        ASSERT_EQ(builder.finish(), "");
        EXPECT_EQ(function.points, 1U) << "run " << run; // -1 + 1 + 1
        EXPECT_FALSE(previousWasNotMultiCondition());
    }
}

TEST(FunctionEvaluation, LinesCostsLengthAndLineTexts) {
    ModelBuilder builder;
    CoverageFile& file = builder.file("a.c");
    CoverageFunction& function = ModelBuilder::function(file, "f", 3);
    function.callCount = 2;
    function.totalExecutionCost = -7;
    function.directiveProbeLines.append(40);
    function.directiveProbeLines.append(12);
    function.directiveNumbers = RunList(9);
    function.directiveNumbers.append(5);
    function.directiveNumbers.append(7);
    CoverageProbe& entry = ModelBuilder::probe(function, kFunction, 3, 2);
    RunList entryLines = entry.sourceLines();
    entryLines.append(3, 3);
    entry.setSourceLines(entryLines);
    CoverageProbe& moved = ModelBuilder::probe(function, kReturn, 6, 1);
    RunList movedLines = moved.sourceLines();
    movedLines.append(14);
    movedLines.append(6);
    moved.setSourceLines(movedLines);
    RunList movedDirectives(7);
    movedDirectives.append(2);
    movedDirectives.append(4);
    moved.setDirectiveLines(movedDirectives);
    ModelBuilder::probe(function, kFunctionTryBlock, 7);
    ModelBuilder::probe(function, kFunctionEnd, 10, 2);

    ASSERT_EQ(builder.finish(), "");
    EXPECT_DOUBLE_EQ(function.averageExecutionCost, -3.5);
    EXPECT_EQ(function.returnLine, 40U);
    EXPECT_EQ(function.returnDirective, 5U);
    EXPECT_EQ(function.length, 8U);
    EXPECT_TRUE(function.tryBlock);
    EXPECT_EQ(entry.occurrences(), 4U);
    EXPECT_EQ(probeLineText(entry), "3");
    EXPECT_EQ(moved.occurrences(), 3U);
    EXPECT_EQ(probeLineText(moved), "6, 14, 6");
    EXPECT_EQ(moved.largestSourceLine(), 14U);
    EXPECT_EQ(moved.smallestDirectiveLine(), 2U);
}

TEST(FunctionEvaluation, LengthNeedsExactlyTwoBoundaries) {
    struct Case {
        std::vector<std::pair<std::uint8_t, std::uint32_t>> probes;
        std::uint32_t length;
    };
    const Case cases[] = {
        {{{kFunction, 3}, {kFunctionEnd, 10}}, 8},
        {{{kFunction, 3}, {kFunctionEndNr, 3}}, 1},
        {{{kFunction, 3}, {kReturn, 5}}, 0},
        {{{kFunction, 3}, {kFunctionEndNr, 9}, {kFunctionEnd, 10}}, 0},
        {{{kFunction, 0}, {kFunctionEnd, 4294967295U}}, 4294967295U},
    };
    for (const Case& c : cases) {
        ModelBuilder builder;
        CoverageFunction& function = ModelBuilder::function(builder.file("a.c"), "f", 1);
        for (const auto& [type, line] : c.probes)
            ModelBuilder::probe(function, type, line);
        ASSERT_EQ(builder.finish(), "");
        EXPECT_EQ(function.length, c.length);
    }
}

TEST(FunctionEvaluation, HitsAndAllFollowTheOutcomes) {
    ModelBuilder builder;
    CoverageFunction& function = ModelBuilder::function(builder.file("a.c"), "f", 1);
    ModelBuilder::probe(function, kFunction, 1, 0);
    ModelBuilder::probe(function, kElse, 2, 5);
    ModelBuilder::probe(function, kSwitch, 3, 5);
    ASSERT_EQ(builder.finish(), "");
    EXPECT_EQ(function.terText, "  0 % (  0/  1)");

    ModelBuilder markers;
    CoverageFunction& only = ModelBuilder::function(markers.file("a.c"), "f", 1);
    ModelBuilder::probe(only, kElse, 2, 5);
    ModelBuilder::probe(only, kSwitch, 3, 5);
    ASSERT_EQ(markers.finish(), "");
    EXPECT_EQ(only.all, 0U);
    EXPECT_EQ(only.ter, 100U);
    EXPECT_EQ(only.terText, "100 % (  0/  0)");
}

TEST(FunctionEvaluation, OutOfRangeBecomesCode18) {
    ModelBuilder builder;
    CoverageFunction& function = ModelBuilder::function(builder.file("a.c"), "f", 1);
    ModelBuilder::probe(function, kFunction, 1, 1).setSourceLines(RunList());
    const std::string line = builder.finish();
    EXPECT_EQ(line.rfind("*** kivxmlmerge error 18 (6/", 0), 0U) << line;
    EXPECT_NE(line.find("): Out of range exception: RunList::max: empty list"), std::string::npos)
        << line;
    EXPECT_EQ(diagnosticRecord().code(), 18);
}

} // namespace
} // namespace kiv
