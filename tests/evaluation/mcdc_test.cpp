#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "evaluation/mcdc.hpp"
#include "evaluation/model_builder.hpp"

namespace kiv {
namespace {

using test::ModelBuilder;

// Groups rendered back as "cond:a/b,a/b;..." for compact expectations.
std::string render(const std::vector<McdcGroup>& groups) {
    std::string text;
    for (const McdcGroup& group : groups) {
        if (!text.empty()) text += ';';
        text += std::to_string(group.condition) + ':';
        for (std::size_t i = 0; i < group.pairs.size(); ++i) {
            if (i != 0) text += ',';
            text +=
                std::to_string(group.pairs[i].first) + '/' + std::to_string(group.pairs[i].second);
        }
    }
    return text;
}

TEST(McdcDescription, GroupsThatDoNotParseAreLeftOut) {
    const std::pair<const char*, const char*> cases[] = {
        {"1: 1 - 3, 2 + 4; 2: 1 - 2", "1:1/3,2/4;2:1/2"},
        {"  1:1 -  3  ,2 + 4  ;2: 1 - 2 ", "1:1/3,2/4;2:1/2"},
        {"01: 007 + 3", "1:7/3"},
        {"1: 99999999999 - 3", "1:4294967295/3"},
        {"1 : 1 - 3; 2: 1 - 2", "2:1/2"}, // blank before the colon
        {"1: 1 -3; 2: 1 - 2", "2:1/2"},   // mark needs blanks on both sides
        {"1: 1- 3; 2: 1 - 2", "2:1/2"},
        {"1: 1 * 3; 2: 1 - 2", "2:1/2"},    // unknown mark
        {"1: 1\t- 3; 2: 1 - 2", "2:1/2"},   // only spaces are blanks
        {"1: 1 - 3,; 2: 1 - 2", "2:1/2"},   // empty pair
        {"1:; 2: 1 - 2", "2:1/2"},          // no pair at all
        {"1: 1 - 3 x; 2: 1 - 2;", "2:1/2"}, // trailing text, empty last group
        {"", ""},
        {"T && F", ""},
    };
    for (const auto& [description, groups] : cases)
        EXPECT_EQ(render(parseMcdcDescription(description)), groups) << description;
}

TEST(McdcDescription, EvaluationNumberIsTheLeadingDigits) {
    const std::pair<const char*, std::uint32_t> cases[] = {
        {"12: T && T", 12},
        {"3", 3},
        {"T && F", 0},
        {" 5: x", 0},
        {"007: x", 7},
        {"99999999999: x", 4294967295U},
        {"", 0},
        {"4294967295", 4294967295U},
    };
    for (const auto& [description, number] : cases)
        EXPECT_EQ(leadingEvaluationNumber(description), number) << description;
}

// A decision on line 7 with three evaluations: 1 and 2 were met, 3 was not.
struct McdcFixture : ::testing::Test {
    ModelBuilder builder{{"As instrumented"}};
    CoverageFile& file = builder.file("a.c");
    CoverageFunction& function = ModelBuilder::function(file, "both", 5);

    void addDecision(const std::string& mcdcDescription, const std::string& mcdcContext = "if") {
        ModelBuilder::probe(function, kFunction, 5, 3);
        ModelBuilder::probe(function, kIf, 7, 1, 2, "if", "");
        ModelBuilder::probe(function, kMultiCondT, 7, 1, 0, "1: T && T", "if");
        ModelBuilder::probe(function, kMultiCondF, 7, 0, 2, "2: T && F", "if");
        ModelBuilder::probe(function, kMultiCondF, 7, 0, 0, "3: F && _", "if");
        mcdc = &ModelBuilder::probe(function, kMcdc, 7, 0, 0, mcdcDescription, mcdcContext);
        ModelBuilder::probe(function, kReturn, 8, 1);
        ModelBuilder::probe(function, kFunctionEnd, 10, 2);
    }

    CoverageProbe* mcdc = nullptr;
};

TEST_F(McdcFixture, PairIsCoveredWhenBothEvaluationsWereMet) {
    addDecision("1: 1 + 3; 2: 1 - 2");
    ASSERT_EQ(builder.finish(), "");
    // The generator's own marks are ignored; only the merged counts decide.
    EXPECT_EQ(mcdc->conditions(),
              (std::vector<std::string>{"MC/DC (cond 1: 1 - 3)", "MC/DC (cond 2: 1 + 2)"}));
    // function 1/1, if 2/2, three conditions 2/3, mcdc 1/2, return 1/1, end 1/1.
    EXPECT_EQ(function.all, 10U);
    EXPECT_EQ(function.hits, 8U);
    EXPECT_EQ(function.ter, 80U);
}

TEST_F(McdcFixture, ReducedViewCountsConditionsOnlyThroughTheMcdcProbe) {
    builder.coverage->requestedCoverageViews = {"Reduced to MC/DC coverage"};
    addDecision("1: 1 - 3; 2: 1 - 2");
    ASSERT_EQ(builder.finish(), "");
    EXPECT_EQ(function.all, 7U);
    EXPECT_EQ(function.hits, 6U);
    EXPECT_EQ(function.ter, 85U);
}

TEST_F(McdcFixture, PairsOfSeveralConditionsAndRenumbering) {
    addDecision("1: 2 - 1, 03 - 2, 1 - 2; 2: 3 + 3");
    ASSERT_EQ(builder.finish(), "");
    EXPECT_EQ(mcdc->conditions(), (std::vector<std::string>{"MC/DC (cond 1: 2 + 1, 3 - 2, 1 + 2)",
                                                            "MC/DC (cond 2: 3 - 3)"}));
}

TEST_F(McdcFixture, ConditionsOfAnotherDecisionDoNotCount) {
    addDecision("1: 1 - 2", "while");
    ASSERT_EQ(builder.finish(), "");
    EXPECT_EQ(mcdc->conditions(), (std::vector<std::string>{"MC/DC (cond 1: 1 - 2)"}));
}

TEST_F(McdcFixture, ConditionsOnAnotherLineDoNotCount) {
    addDecision("1: 1 - 2");
    CoverageProbe& other = ModelBuilder::probe(function, kMcdc, 9, 0, 0, "1: 1 - 2", "if");
    ASSERT_EQ(builder.finish(), "");
    EXPECT_EQ(mcdc->conditions(), (std::vector<std::string>{"MC/DC (cond 1: 1 + 2)"}));
    EXPECT_EQ(other.conditions(), (std::vector<std::string>{"MC/DC (cond 1: 1 - 2)"}));
}

TEST_F(McdcFixture, UnparsableDescriptionAddsNothing) {
    addDecision("garbage");
    ASSERT_EQ(builder.finish(), "");
    EXPECT_TRUE(mcdc->conditions().empty());
    EXPECT_EQ(function.all, 8U);
    EXPECT_EQ(function.hits, 7U);
}

TEST_F(McdcFixture, PairsFollowTheNumberInFrontOfEachConditionDescription) {
    // Numbered out of order, and one without a number (it counts as 0).
    ModelBuilder::probe(function, kFunction, 5, 3);
    ModelBuilder::probe(function, kIf, 7, 1, 2, "if", "");
    ModelBuilder::probe(function, kMultiCondT, 7, 1, 0, "9: T && T", "if");
    ModelBuilder::probe(function, kMultiCondF, 7, 0, 2, "7: T && F", "if");
    ModelBuilder::probe(function, kMultiCondF, 7, 0, 4, "F && _", "if");
    ModelBuilder::probe(function, kMultiCondF, 7, 0, 0, "8: F && T", "if");
    mcdc = &ModelBuilder::probe(function, kMcdc, 7, 0, 0, "1: 7 - 9; 2: 9 - 0; 3: 7 + 8", "if");
    ASSERT_EQ(builder.finish(), "");
    EXPECT_EQ(mcdc->conditions(),
              (std::vector<std::string>{"MC/DC (cond 1: 7 + 9)", "MC/DC (cond 2: 9 + 0)",
                                        "MC/DC (cond 3: 7 - 8)"}));
}

TEST(McdcEvaluator, ManyConditionsStayLinear) {
    // One decision with 20000 evaluations and a pair list naming each: a
    // quadratic lookup would take far too long here.
    ModelBuilder builder;
    CoverageFile& file = builder.file("big.c");
    CoverageFunction& function = ModelBuilder::function(file, "big", 1);
    ModelBuilder::probe(function, kFunction, 1, 1);
    std::string description = "1:";
    constexpr std::uint32_t kCount = 20000;
    for (std::uint32_t i = 1; i <= kCount; ++i) {
        ModelBuilder::probe(function, kMultiCondT, 2, i % 2, 0, std::to_string(i) + ": c", "x");
        if (i > 1) description += ',';
        description += ' ';
        description += std::to_string(i);
        description += " - ";
        description += std::to_string(kCount + 1 - i);
    }
    CoverageProbe& mcdc = ModelBuilder::probe(function, kMcdc, 2, 0, 0, description, "x");
    ASSERT_EQ(builder.finish(), "");
    ASSERT_EQ(mcdc.conditions().size(), 1U);
    // Odd evaluations were met; i and kCount + 1 - i always differ in parity.
    EXPECT_EQ(mcdc.conditions()[0].find('+'), std::string::npos);
    EXPECT_EQ(mcdc.conditions()[0].rfind("MC/DC (cond 1: 1 - 20000, 2 - 19999", 0), 0U);
}

} // namespace
} // namespace kiv
