#include <gtest/gtest.h>

#include <string>

#include "evaluation/model_builder.hpp"
#include "evaluation/statement_analysis.hpp"

namespace kiv {
namespace {

using test::ModelBuilder;

TEST(StatementAnalysis, WhichProbesTakePartAndWhenTheyRan) {
    struct Case {
        std::uint8_t type;
        std::uint32_t outcomeClass;
        std::uint32_t count1, count2;
        char mark; // 0: takes no part
    };
    const Case cases[] = {
        {kReturn, 2, 1, 0, '+'},      {kReturn, 2, 0, 7, '-'},
        {kIf, 4, 0, 3, '+'},          {kIf, 4, 4294967295U, 4294967295U, '+'},
        {kWhile, 4, 0, 0, '-'},       {kConstIf, 5, 0, 1, '+'},
        {kConstFor, 6, 1, 0, '+'},    {kConstWhile, 6, 0, 0, '-'},
        {kFunctionEnd, 2, 0, 0, '-'}, {kMultiCondT, 2, 1, 0, 0},
        {kMultiCondF, 3, 0, 1, 0},    {kSubCond, 4, 1, 1, 0},
        {kExprAndor, 4, 1, 1, 0},     {kMcdc, 1, 0, 0, 0},
        {kElse, 1, 1, 0, 0},          {kFunctionEndNr, 1, 1, 0, 0},
        {kReturn, 1, 1, 0, 0}, // an odd class decides, not the type
    };
    for (const Case& c : cases) {
        ModelBuilder builder;
        CoverageFunction& function = ModelBuilder::function(builder.file("a.c"), "f", 1);
        ModelBuilder::probe(function, kFunction, 1, 1);
        CoverageProbe& probe = ModelBuilder::probe(function, c.type, 2, c.count1, c.count2);
        probe.outcomeClass = c.outcomeClass;
        ASSERT_EQ(builder.finish(), "");
        SCOPED_TRACE(testing::Message() << "type " << +c.type << " class " << c.outcomeClass);
        EXPECT_EQ(probe.statementMark, c.mark);
        EXPECT_EQ(function.statementAll, c.mark == 0 ? 1U : 2U);
        EXPECT_EQ(function.statementHits, c.mark == '+' ? 2U : 1U);
        EXPECT_EQ(function.statementAvailable, "yes");
    }
}

TEST(StatementAnalysis, FunctionsWithoutStatementCoverage) {
    ModelBuilder builder;
    CoverageFile& file = builder.file("a.c");
    CoverageFunction& empty = ModelBuilder::function(file, "empty", 1);
    CoverageFunction& noEntry = ModelBuilder::function(file, "noEntry", 2);
    CoverageProbe& ret = ModelBuilder::probe(noEntry, kReturn, 2, 1);
    ModelBuilder::probe(noEntry, kFunction, 3, 1);
    CoverageFunction& reported = ModelBuilder::function(file, "reported", 4);
    reported.statementAvailable = "no";
    CoverageProbe& entry = ModelBuilder::probe(reported, kFunction, 4, 1);
    CoverageFunction& nothing = ModelBuilder::function(file, "nothing", 5);
    ModelBuilder::probe(nothing, kFunction, 5, 1).outcomeClass = 1;
    CoverageFunction& counted = ModelBuilder::function(file, "counted", 6);
    ModelBuilder::probe(counted, kFunction, 6, 1);
    ModelBuilder::probe(counted, kReturn, 7, 0);
    ModelBuilder::probe(counted, kReturn, 8, 0);

    ASSERT_EQ(builder.finish(), "");
    for (CoverageFunction* function : {&empty, &noEntry, &reported, &nothing}) {
        EXPECT_EQ(function->statementAvailable, "no") << function->name;
        EXPECT_EQ(function->statementTerText, "N.A. statement") << function->name;
    }
    EXPECT_EQ(ret.statementMark, 0);
    EXPECT_EQ(entry.statementMark, 0);
    EXPECT_EQ(counted.statementTerText, " 33 % (  1/  3) statement");

    EXPECT_EQ(file.statementFunctions, 1U);
    EXPECT_EQ(file.statementNaFunctions, 4U);
    EXPECT_EQ(file.functions, 5U);
    EXPECT_TRUE(file.statementCoverage);
    EXPECT_EQ(file.statementTer, 33U);
    EXPECT_EQ(file.statementTerText, " 33 % (  1/  3) statement (N.A. for 4 functions)");
}

TEST(StatementAnalysis, FileWithoutAnyStatementCoverage) {
    ModelBuilder builder;
    CoverageFile& file = builder.file("a.c");
    ModelBuilder::function(file, "f", 1);
    ModelBuilder::function(file, "g", 2);
    ASSERT_EQ(builder.finish(), "");
    EXPECT_FALSE(file.statementCoverage);
    EXPECT_EQ(file.statementTerText, "100 % (  0/  0) statement (N.A. for 2 functions)");
    EXPECT_EQ(builder.coverage->filesWithoutStatement, 1U);
    EXPECT_EQ(builder.coverage->statementTerText, "100 % (0/0) statement (N.A. for 2 functions)");
}

} // namespace
} // namespace kiv
