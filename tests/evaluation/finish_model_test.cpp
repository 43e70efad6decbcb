#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "diagnostics/diagnostic_record.hpp"
#include "evaluation/model_builder.hpp"

namespace kiv {
namespace {

using test::ModelBuilder;

TEST(FinishModel, InstrumentationModeFlags) {
    struct Case {
        const char* view;
        const char* mode;
        bool functionOnly;
        bool cost;
    };
    const Case cases[] = {
        {"As instrumented", "multicondition+timing", false, true},
        {"As instrumented", "function", true, false},
        {"As instrumented", "function+timing", true, true},
        {"Reduced to function coverage", "decision", true, false},
        {"Reduced to function coverage (x)", "decision", true, false},
        {"Reduced to decision coverage", "Timing", false, false},
    };
    for (const Case& c : cases) {
        ModelBuilder builder({c.view});
        CoverageFile& file = builder.file("a.c", kSourceFile, true, c.mode);
        ASSERT_EQ(builder.finish(), "");
        EXPECT_EQ(file.instrumentationMode, c.mode);
        EXPECT_EQ(file.functionCoverageOnly, c.functionOnly) << c.view << " / " << c.mode;
        EXPECT_EQ(file.hasExecutionCost, c.cost) << c.mode;
    }
}

TEST(FinishModel, EveryFileNeedsExactlyOneMode) {
    struct Case {
        std::vector<std::string> modes;
        int type;
        bool chosen;
    };
    const Case cases[] = {
        {{}, kSourceFile, true},
        {{"function", "timing"}, kSourceFile, true},
        {{"function", "timing"}, kSourceFile, false}, // unchosen files are checked too
        {{"a", "b", "c"}, kHeaderPart, false},
    };
    for (const Case& c : cases) {
        ModelBuilder builder;
        builder.file("chosen.c");
        CoverageFile& file = builder.file("z.h", c.type, c.chosen, "");
        for (const std::string& mode : c.modes)
            file.addInstrumentationMode(mode);
        const std::string line = builder.finish();
        EXPECT_EQ(line.rfind("*** kivxmlmerge error 17 (4/", 0), 0U) << line;
        EXPECT_NE(line.find("): Different instrumentation modes: D:z.h"), std::string::npos)
            << line;
    }
}

TEST(FinishModel, DifferentViewsStopBeforeAnythingIsEvaluated) {
    ModelBuilder builder({"As instrumented", "Reduced to decision coverage"});
    CoverageFile& file = builder.file("a.c");
    const std::string line = builder.finish();
    EXPECT_NE(line.find("error 16 (3/"), std::string::npos) << line;
    EXPECT_FALSE(builder.coverage->reportGenerated.empty());
    EXPECT_TRUE(file.instrumentationMode.empty());
}

TEST(FinishModel, NothingChosenStopsAfterTheView) {
    ModelBuilder builder({"Reduced to MC/DC coverage"}, {"function"});
    CoverageFile& file = builder.file("a.c", kSourceFile, false, "");
    file.addInstrumentationMode("x");
    file.addInstrumentationMode("y"); // would fail if files were evaluated
    CoverageFunction& function = ModelBuilder::function(file, "f", 1);
    ModelBuilder::probe(function, kFunction, 1, 1);
    builder.file("a.c_f()_1_h.h", kHeaderPart, true); // chosen, but not a source or header
    file.lineCounts.append(10);

    ASSERT_EQ(builder.finish(), "");
    const Coverage& coverage = *builder.coverage;
    EXPECT_FALSE(coverage.reportGenerated.empty());
    EXPECT_EQ(coverage.requestedCoverageView, "Reduced to MC/DC coverage");
    EXPECT_EQ(coverage.shownCoverageViews, "");
    EXPECT_EQ(coverage.statementTerText, "");
    EXPECT_EQ(coverage.ter, 100U);
    EXPECT_EQ(coverage.statementTer, 100U);
    EXPECT_EQ(coverage.functions + coverage.lines + coverage.hits + coverage.all + coverage.points +
                  coverage.filesWithoutStatement,
              0U);
    EXPECT_EQ(function.all, 0U);
    EXPECT_EQ(file.lines, 0U);
    EXPECT_TRUE(file.terText.empty());
}

TEST(FinishModel, ShownViewsOnceSomethingIsChosen) {
    ModelBuilder builder({"As instrumented"}, {"condition", "multiCondition", "none"});
    builder.file("a.c");
    ASSERT_EQ(builder.finish(), "");
    EXPECT_EQ(builder.coverage->shownCoverageViews, "mixed condition/multicondition");
    EXPECT_EQ(builder.coverage->statementTerText, "100 % (0/0) statement");
}

// A source file whose function f holds code of util.h: the header part's
// counts belong to f.
struct HeaderPartFixture : ::testing::Test {
    ModelBuilder builder;
    CoverageFile& source = builder.file("a.c");
    CoverageFunction& overload = ModelBuilder::function(source, "f", 10, "(int)");
    CoverageFunction& function = ModelBuilder::function(source, "f", 10, "()");
    CoverageFile& part = builder.file("a.c_f()_10_util.h", kHeaderPart, true);

    void SetUp() override {
        ModelBuilder::probe(overload, kFunction, 10, 1);
        ModelBuilder::probe(function, kFunction, 10, 1);
        ModelBuilder::probe(function, kReturn, 12, 0);
        source.headerParts.add("D:util.h");
    }

    CoverageFunction& partFunction(const std::string& name, const std::string& parameters) {
        CoverageFunction& pseudo = ModelBuilder::pseudoFunction(part, source, name, 10, parameters);
        ModelBuilder::probe(pseudo, kIf, 11, 1, 0);
        ModelBuilder::probe(pseudo, kReturn, 11, 1);
        return pseudo;
    }
};

TEST_F(HeaderPartFixture, CountsGoToTheFunctionTheCodeCameFrom) {
    CoverageFunction& pseudo = partFunction("f", "()");
    ASSERT_EQ(builder.finish(), "");
    EXPECT_EQ(pseudo.hits, 2U);
    EXPECT_EQ(pseudo.all, 3U);
    EXPECT_EQ(function.hits, 3U);
    EXPECT_EQ(function.all, 5U);
    EXPECT_EQ(function.ter, 60U);
    EXPECT_EQ(function.points, 5U);
    EXPECT_EQ(function.terText, " 60 % (  3/  5)");
    EXPECT_EQ(overload.all, 1U);
    EXPECT_EQ(source.hits, 4U);
    EXPECT_EQ(source.all, 6U);
    EXPECT_EQ(source.ter, 66U);
    EXPECT_EQ(source.points, 6U);
    EXPECT_EQ(source.terText, " 66 % (  4/  6)");
    // Header parts are never counted as files of their own.
    EXPECT_EQ(builder.coverage->hits, 4U);
    EXPECT_EQ(builder.coverage->all, 6U);
    EXPECT_EQ(builder.coverage->points, 6U);
    EXPECT_EQ(builder.coverage->functions, 2U);
    EXPECT_TRUE(part.terText.empty());
}

TEST_F(HeaderPartFixture, UnknownFunctionChangesNothing) {
    partFunction("g", "()");
    ASSERT_EQ(builder.finish(), "");
    EXPECT_EQ(function.all, 2U);
    EXPECT_EQ(function.points, 2U);
    EXPECT_EQ(source.all, 3U);
}

TEST_F(HeaderPartFixture, FileSumsAreOnlyRecomputedForFilesWithHeaderParts) {
    source.headerParts = DistinctList();
    partFunction("f", "()");
    ASSERT_EQ(builder.finish(), "");
    EXPECT_EQ(function.all, 5U);
    EXPECT_EQ(source.all, 3U);
    EXPECT_EQ(source.points, 3U);
}

TEST(FinishModel, OverallSumsCoverChosenSourcesAndHeadersOnly) {
    ModelBuilder builder;
    CoverageFile& first = builder.file("a.c");
    first.lineCounts.append(30);
    first.lineCounts.append(40);
    first.lineCounts.append(35);
    CoverageFunction& f = ModelBuilder::function(first, "f", 1);
    ModelBuilder::probe(f, kFunction, 1, 1);
    ModelBuilder::probe(f, kIf, 2, 1, 0);
    ModelBuilder::probe(f, kReturn, 3, 0);
    CoverageFile& header = builder.file("b.h", kHeaderFile, true);
    header.lineCounts.append(7);
    CoverageFunction& h = ModelBuilder::function(header, "h", 1);
    ModelBuilder::probe(h, kFunction, 1, 1);
    ModelBuilder::function(header, "na", 5);
    CoverageFile& hidden = builder.file("c.c", kSourceFile, false);
    hidden.lineCounts.append(1000);
    CoverageFunction& x = ModelBuilder::function(hidden, "x", 1);
    ModelBuilder::probe(x, kFunction, 1, 0);

    ASSERT_EQ(builder.finish(), "");
    const Coverage& coverage = *builder.coverage;
    EXPECT_EQ(first.lines, 40U);
    EXPECT_EQ(coverage.lines, 40U);
    EXPECT_EQ(coverage.headerLines, 7U);
    EXPECT_EQ(coverage.hits, 3U);
    EXPECT_EQ(coverage.all, 5U);
    EXPECT_EQ(coverage.ter, 60U);
    EXPECT_EQ(coverage.points, 5U);
    EXPECT_EQ(coverage.statementHits, 3U);
    EXPECT_EQ(coverage.statementAll, 4U);
    EXPECT_EQ(coverage.statementTer, 75U);
    EXPECT_EQ(coverage.statementFunctions, 2U);
    EXPECT_EQ(coverage.statementNaFunctions, 1U);
    EXPECT_EQ(coverage.functions, 3U);
    EXPECT_EQ(coverage.filesWithStatement, 2U);
    EXPECT_EQ(coverage.filesWithoutStatement, 0U);
    EXPECT_EQ(coverage.statementTerText, "75 % (3/4) statement (N.A. for 1 functions)");
    // The unchosen file is evaluated all the same.
    EXPECT_EQ(hidden.lines, 1000U);
    EXPECT_EQ(hidden.terText, "  0 % (  0/  1)");
}

TEST(FinishModel, OverallSumsSaturate) {
    ModelBuilder builder;
    builder.file("a.c").lineCounts.append(4000000000U);
    builder.file("b.c").lineCounts.append(1000000000U);
    builder.file("c.h", kHeaderFile, true).lineCounts.append(4294967295U);
    builder.file("d.h", kHeaderFile, true).lineCounts.append(1);
    ASSERT_EQ(builder.finish(), "");
    EXPECT_EQ(builder.coverage->lines, 4294967295U);
    EXPECT_EQ(builder.coverage->headerLines, 4294967295U);
    EXPECT_EQ(builder.coverage->filesWithoutStatement, 4U);
}

TEST(FinishModel, FunctionSumsSaturate) {
    ModelBuilder builder;
    CoverageFile& file = builder.file("a.c");
    CoverageFunction& full = ModelBuilder::function(file, "f", 1);
    full.hits = 4294967295U;
    full.all = 4294967295U;
    ModelBuilder::probe(full, kIf, 1, 1, 1);
    CoverageFunction& other = ModelBuilder::function(file, "g", 2);
    ModelBuilder::probe(other, kReturn, 2, 0);
    ASSERT_EQ(builder.finish(), "");
    EXPECT_EQ(full.all, 4294967295U);
    EXPECT_EQ(full.ter, 100U);
    EXPECT_EQ(file.all, 4294967295U);
    EXPECT_EQ(file.hits, 4294967295U);
    EXPECT_EQ(file.terText, "100 % (4294967295/4294967295)");
}

} // namespace
} // namespace kiv
