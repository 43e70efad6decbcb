#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "listing/listing_state.hpp"
#include "listing_model.hpp"

namespace kiv {
namespace {

using test::linesOf;
using test::ListingModel;
using test::listingOf;

// A source file with one function, an extracted header without functions,
// a header part and an unchosen file (neither listed).
void buildCalc(ListingModel& model) {
    Coverage& c = model.coverage();
    c.kivpostVersions = {"8.3.1", "9.0"};
    c.inputReports = {"a.xml (Tue Dec  8 10:00:00 2026)", "b.xml (Wed Dec  9 11:00:00 2026)"};
    c.chosenPatterns = {"*.c"};
    c.unchosenPatterns = {"*test*", "*mock*"};
    c.reportGenerated = "Thu Jan  1 00:00:00 1970";
    c.requestedCoverageView = "As instrumented";
    c.shownCoverageViews = "multicondition";
    c.functions = 1;
    c.lines = 10;
    c.ter = 83;
    c.hits = 5;
    c.all = 6;
    c.statementTerText = "50 % (1/2) statement";

    CoverageFile& calc = model.file("c:\\src\\calc.c", kSourceFile, "C:\\Src\\calc.c");
    calc.instrumentationMode = "multicondition+timing";
    calc.addIncludedHeader("C:\\Src\\util.h");
    calc.headerParts.add("C:\\Src\\inc.h");
    calc.terText = " 83 % (  5/  6)";
    calc.statementTerText = " 50 % (  1/  2) statement";
    CoverageFunction& both = ListingModel::function(calc, "both", 5, "(int a)");
    both.terText = " 83 % (  5/  6)";
    both.statementTerText = " 50 % (  1/  2) statement";
    ListingModel::probe(both, kFunction, 5, "both()", 3, 0, 0, 1, 1);
    ListingModel::probe(both, kIf, 7, "if (a > 0)", 1, 2, 1, 2, 2);
    ListingModel::probe(both, kFunctionEnd, 10, "}", 2, 0, 0, 1, 1);

    CoverageFile& util = model.file("c:\\src\\util.h", kHeaderFile, "C:\\Src\\util.h");
    util.instrumentationMode = "multicondition+timing";
    util.terText = "100 % (  0/  0)";
    util.statementTerText = "100 % (  0/  0) statement";

    CoverageFile& part =
        model.file("c:\\src\\calc.c_both(int a)_5_c:\\src\\inc.h", kHeaderPart, "C:\\Src\\inc.h");
    ListingModel::function(part, "N.A.", 0, "( )");
    CoverageFile& hidden = model.file("c:\\src\\hidden.c", kSourceFile, "C:\\Src\\hidden.c", false);
    ListingModel::function(hidden, "hidden", 1);
}

TEST(Listing, WritesTheWholeListing) {
    ListingModel model;
    buildCalc(model);
    const std::string expected =
        R"(*****************************************************************************
*           KIVEX, Test Coverage Analyzer for C/C++, Version 8.3.1          *
*                                                                           *
*             EXECUTION PROFILE LISTING (MERGED by kivxmlmerge v1.0.0.0)    *
*                                                                           *
*                    Copyright (c) A                                        *
*             Copyright (c) B                                               *
*****************************************************************************


XML file(s) used      : a.xml (Tue Dec  8 10:00:00 2026)
                      : b.xml (Wed Dec  9 11:00:00 2026)
Chosen file(s)        : *.c
Unchosen file(s)      : *test*
                      : *mock*
Listing produced at   : Thu Jan  1 00:00:00 1970
Coverage view         : As instrumented



MONITORED SOURCE FILE : C:\Src\calc.c
INSTRUMENTATION MODE  : multicondition+timing

 HITS/TRUE      FALSE    LINE DESCRIPTION
=============================================================================

#include "C:\Src\util.h"
C:\Src\inc.h
         3                  5 both()
         1          2       7   if (a > 0)
         2                 10 }

***TER  83 % (  5/  6) of FUNCTION both()
        50 % (  1/  2) statement
-----------------------------------------------------------------------------


***TER  83 % (  5/  6) of FILE C:\Src\calc.c
        50 % (  1/  2) statement
-----------------------------------------------------------------------------



MONITORED HEADER FILE : C:\Src\util.h
INSTRUMENTATION MODE  : multicondition+timing

 HITS/TRUE      FALSE    LINE DESCRIPTION
=============================================================================


***TER 100 % (  0/  0) of FILE C:\Src\util.h
       100 % (  0/  0) statement
-----------------------------------------------------------------------------



SUMMARY
=======

Source files       : 1
Headers extracted  : 1
Functions          : 1
Source lines       : 10
TER                : 83 % (5/6) multicondition
TER                : 50 % (1/2) statement
)";
    EXPECT_EQ(listingOf(model.coverage()), expected);
    // Writing again gives the same text: nothing is left over from the first.
    EXPECT_EQ(listingOf(model.coverage()), expected);
    EXPECT_EQ(listingState().currentFile, nullptr);
    EXPECT_EQ(listingState().currentFunction, nullptr);
}

TEST(Listing, BoxLinesArePaddedToTheStarOrJustClosed) {
    struct Case {
        std::string version, expected;
    };
    const std::string prefix = "*           KIVEX, Test Coverage Analyzer for C/C++, Version ";
    const std::vector<Case> cases = {
        {"", prefix + std::string(15, ' ') + "*"},
        {"8.3.1-build-12", prefix + "8.3.1-build-12 *"},
        {"8.3.1-build-123", prefix + "8.3.1-build-123*"},
        {"8.3.1-very-long-build-identifier", prefix + "8.3.1-very-long-build-identifier*"},
    };
    for (const Case& c : cases) {
        ListingModel model;
        if (!c.version.empty()) model.coverage().kivpostVersions = {c.version};
        const std::vector<std::string> lines = linesOf(listingOf(model.coverage()));
        ASSERT_GT(lines.size(), 1u);
        EXPECT_EQ(lines[1], c.expected) << c.version;
    }
}

TEST(Listing, WithNothingChosenWritesTheFixedZeroSummary) {
    ListingModel model;
    Coverage& c = model.coverage();
    c.kivpostVersions = {"8.3.1"};
    c.inputReports = {"a.xml (Tue Dec  8 10:00:00 2026)"};
    c.reportGenerated = "Thu Jan  1 00:00:00 1970";
    c.requestedCoverageView = "As instrumented";
    // Values the summary must not show when nothing was chosen.
    c.ter = 5;
    c.statementTerText = "1 % (1/100) statement";
    model.file("c:\\a.c", kSourceFile, "C:\\a.c", false);
    ASSERT_EQ(c.chosenFiles, 0u);
    const std::string expected =
        R"(*****************************************************************************
*           KIVEX, Test Coverage Analyzer for C/C++, Version 8.3.1          *
*                                                                           *
*             EXECUTION PROFILE LISTING (MERGED by kivxmlmerge v1.0.0.0)    *
*                                                                           *
*                    Copyright (c) A                                        *
*             Copyright (c) B                                               *
*****************************************************************************


XML file(s) used      : a.xml (Tue Dec  8 10:00:00 2026)
Listing produced at   : Thu Jan  1 00:00:00 1970
Coverage view         : As instrumented



SUMMARY
=======

Source files       : 0
Headers extracted  : 0
Functions          : 0
Source lines       : 0
TER                : 100 % (0/0)
TER                : 100 % (0/0) statement
)";
    EXPECT_EQ(listingOf(c), expected);
}

TEST(Listing, WithoutInputsTheInputLineIsLeftOut) {
    ListingModel model;
    model.coverage().reportGenerated = "now";
    const std::vector<std::string> lines = linesOf(listingOf(model.coverage()));
    ASSERT_GT(lines.size(), 10u);
    EXPECT_EQ(lines[10], "Listing produced at   : now");
    EXPECT_EQ(lines[11], "Coverage view         : ");
}

TEST(Listing, FunctionCoverageOnlyFilesHaveNoFunctionFooters) {
    ListingModel model;
    buildCalc(model);
    CoverageFile& calc = *model.coverage().fileMap.at("c:\\src\\calc.c");
    calc.functionCoverageOnly = true;
    CoverageFunction& both = *calc.functionMap.begin()->second;
    ListingModel::probe(both, kFunctionEndNr, 9, "}", 0, 0, 0);
    const std::string listing = listingOf(model.coverage());
    EXPECT_EQ(listing.find("of FUNCTION"), std::string::npos);
    const std::string expectedBlock = "         3                  5 both()\n"
                                      "         1          2       7   if (a > 0)\n"
                                      "         2                 10 }\n"
                                      "\n"
                                      "***TER  83 % (  5/  6) of FILE C:\\Src\\calc.c\n"
                                      "        50 % (  1/  2) statement\n";
    EXPECT_NE(listing.find(expectedBlock), std::string::npos) << listing;
}

} // namespace
} // namespace kiv
