#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "diagnostics/error.hpp"
#include "listing/listing_output.hpp"
#include "listing/listing_state.hpp"
#include "listing/probe_line.hpp"
#include "listing_model.hpp"

namespace kiv {
namespace {

using test::ListingModel;

std::string b(std::size_t count) {
    return std::string(count, ' ');
}

// The lines that one probe writes, with `file` and `function` current.
std::string linesFor(const CoverageProbe& probe, const CoverageFunction& function,
                     const CoverageFile& file, bool reducedToMcdc = false) {
    resetListingState();
    listingState().currentFile = &file;
    listingState().currentFunction = &function;
    std::ostringstream stream;
    {
        ListingOutput out(stream);
        ListingContext context{out, reducedToMcdc};
        writeProbeLines(probe, function, context);
        out.finish();
    }
    return stream.str();
}

struct LayoutCase {
    std::uint8_t type;
    std::uint32_t first, second, line, nesting, possible, covered;
    std::string description, context, expected;
    std::uint32_t outcomeClass = 0; // 0: the class the type gets with a count1
};

TEST(ProbeLine, LayoutsColumnsIndentationAndContext) {
    const std::vector<LayoutCase> cases = {
        {kFunction, 3, 0, 5, 0, 1, 1, "f()", "", b(9) + "3" + b(18) + "5 f()"},
        // The decision of 12 true and 0 false evaluations on line 40.
        {kIf, 12, 0, 40, 1, 2, 1, "if (x)", "", "        12          0 -    40   if (x)"},
        {kMultiCondF, 9, 4, 7, 1, 1, 1, "2: T && F", "",
         b(20) + "4" + b(7) + "7" + b(5) + "2: T && F"},
        {kMultiCondT, 4, 9, 7, 1, 1, 1, "1: T && T", "",
         b(9) + "4" + b(18) + "7" + b(5) + "1: T && T"},
        {kConstWhile, 6, 2, 12, 0, 1, 1, "while (1)", "", b(9) + "6" + b(17) + "12 while (1)", 5},
        {kConstWhile, 2, 6, 12, 0, 1, 1, "while (1)", "", b(20) + "6" + b(6) + "12 while (1)", 6},
        {kConstIf, 2, 6, 12, 0, 1, 1, "if (0)", "", b(20) + "6" + b(6) + "12 if (0)", 6},
        {kElse, 5, 5, 9, 0, 0, 0, "else", "(x > 0)", b(28) + "9 else(x > 0)"},
        {kFunctionEnd, 3, 0, 20, 0, 1, 1, "}", " f", b(9) + "3" + b(17) + "20 } f"},
        {kReturn, 1, 0, 8, 2, 1, 1, "return 1", "CTX",
         b(9) + "1" + b(18) + "8" + b(5) + "return 1"},
        {kSubCond, 1, 1, 100, 2, 2, 2, "a > 0", "",
         b(9) + "1" + b(10) + "1" + b(5) + "100" + b(7) + "a > 0"},
        {kCase, 2, 0, 30, 1, 1, 0, "case 1", ":", b(9) + "2" + b(12) + "-" + b(4) + "30   case 1:"},
        {kUserAnnotation, 0, 0, 3, 0, 0, 0, "note", "!", b(28) + "3 note!"},
        {kLambdaEndNr, 0, 0, 3, 3, 0, 0, "}", ";", b(28) + "3" + b(7) + "};"},
        {kFunctionTryBlock, 0, 0, 4, 0, 0, 0, "try", "{", b(28) + "4 try{"},
        {kMissingDefault, 0, 0, 6, 1, 1, 0, "default:", "x",
         b(9) + "0" + b(12) + "-" + b(5) + "6   default:"},
        {kExprAndor, 1, 2, 6, 0, 2, 2, "a && b", "x", b(9) + "1" + b(10) + "2" + b(7) + "6 a && b"},
        // Numbers at their limits: the line field grows, nothing is cut.
        {kIf, 4294967295u, 4294967295u, 4294967295u, 0, 2, 1, "if (y)", "",
         "4294967295 42949672954294967295 if (y)"},
        {kFunction, 4294967295u, 0, 123456789, 0, 1, 0, "g()", "",
         "4294967295" + b(10) + "123456789 g()"},
        // No line at all: file-level directives and codes outside the table.
        {kLinedir, 1, 1, 3, 0, 0, 0, "#line 1 \"a.h\"", "", ""},
        {0, 1, 1, 3, 0, 1, 0, "zero", "", ""},
        {53, 1, 1, 3, 0, 1, 0, "beyond", "", ""},
        {255, 1, 1, 3, 0, 1, 0, "beyond", "", ""},
    };
    for (const LayoutCase& c : cases) {
        ListingModel model;
        CoverageFile& file = model.file("a.c", kSourceFile, "a.c");
        CoverageFunction& function = ListingModel::function(file, "f", 1);
        CoverageProbe& probe = ListingModel::probe(function, c.type, c.line, c.description, c.first,
                                                   c.second, c.nesting, c.possible, c.covered);
        probe.context = c.context;
        if (c.outcomeClass != 0) probe.outcomeClass = c.outcomeClass;
        const std::string expected = c.expected.empty() ? "" : c.expected + "\n";
        EXPECT_EQ(linesFor(probe, function, file), expected)
            << "type " << int{c.type} << " " << c.description;
    }
}

TEST(ProbeLine, IncompleteCoverageMarker) {
    struct Case {
        std::uint8_t type;
        std::uint32_t line, possible, covered;
        bool reducedToMcdc;
        std::string lineField; // the last 8 characters of the left part
    };
    const std::vector<Case> cases = {
        {kElseIf, 40, 2, 1, false, " -    40"},
        {kElseIf, 40, 2, 0, false, " -    40"},
        {kElseIf, 999999, 2, 1, false, " -999999"},
        // Seven digits leave no blank for the marker.
        {kElseIf, 1000000, 2, 1, false, " 1000000"},
        {kElseIf, 40, 2, 2, false, "      40"},
        {kElseIf, 40, 0, 0, false, "      40"},
        {kElseIf, 40, 2, 3, false, "      40"},
        // Under the MC/DC view only the multi-condition probes lose it.
        {kElseIf, 40, 2, 1, true, " -    40"},
        {kMultiCondT, 40, 1, 0, false, " -    40"},
        {kMultiCondT, 40, 1, 0, true, "      40"},
        {kMultiCondF, 40, 1, 0, false, " -    40"},
        {kMultiCondF, 40, 1, 0, true, "      40"},
        {kSubCond, 40, 2, 1, true, " -    40"},
    };
    for (const Case& c : cases) {
        ListingModel model;
        CoverageFile& file = model.file("a.c", kSourceFile, "a.c");
        CoverageFunction& function = ListingModel::function(file, "f", 1);
        CoverageProbe& probe =
            ListingModel::probe(function, c.type, c.line, "d", 1, 0, 0, c.possible, c.covered);
        const std::string text = linesFor(probe, function, file, c.reducedToMcdc);
        ASSERT_GE(text.size(), 29u);
        EXPECT_EQ(text.substr(21, 8), c.lineField)
            << "type " << int{c.type} << " line " << c.line << " " << c.covered << "/" << c.possible
            << (c.reducedToMcdc ? " MC/DC view" : "");
    }
}

TEST(ProbeLine, McdcWritesOneLinePerConditionMarkedWithoutCoveredPair) {
    ListingModel model;
    CoverageFile& file = model.file("a.c", kSourceFile, "a.c");
    CoverageFunction& function = ListingModel::function(file, "f", 1);
    // Outcomes of its own do not count for an mcdc probe.
    CoverageProbe& probe =
        ListingModel::probe(function, kMcdc, 7, "1: 1 - 3; 2: 1 + 2, 3 - 4", 0, 0, 1, 5, 0);
    probe.setConditions({"MC/DC (cond 1: 1 - 3)", "MC/DC (cond 2: 1 + 2, 3 - 4)"});
    EXPECT_EQ(linesFor(probe, function, file), b(22) + "-" + b(5) + "7" + b(5) +
                                                   "MC/DC (cond 1: 1 - 3)\n" + b(28) + "7" + b(5) +
                                                   "MC/DC (cond 2: 1 + 2, 3 - 4)\n");
    EXPECT_EQ(probe.description, "1: 1 - 3; 2: 1 + 2, 3 - 4");

    probe.setConditions({});
    EXPECT_EQ(linesFor(probe, function, file), "");
}

TEST(ProbeLine, FunctionEndWithoutReturnFollowsFunctionCoverage) {
    for (const bool functionOnly : {false, true}) {
        ListingModel model;
        CoverageFile& file = model.file("a.c", kSourceFile, "a.c");
        file.functionCoverageOnly = functionOnly;
        CoverageFunction& function = ListingModel::function(file, "f", 1);
        CoverageProbe& probe = ListingModel::probe(function, kFunctionEndNr, 9, "}", 0, 0, 0);
        probe.context = " f";
        EXPECT_EQ(linesFor(probe, function, file), functionOnly ? "" : b(28) + "9 } f\n");
        // Only a written end line makes the function count as listed.
        EXPECT_EQ(listingState().isListed(function), !functionOnly);
    }
    resetListingState();
}

TEST(ProbeLine, AnIndentationTooWideToAllocateIsOutOfMemory) {
    for (const std::uint32_t nesting : {(1u << 27) + 1, 4294967295u}) {
        ListingModel model;
        CoverageFile& file = model.file("a.c", kSourceFile, "a.c");
        CoverageFunction& function = ListingModel::function(file, "f", 1);
        CoverageProbe& probe = ListingModel::probe(function, kReturn, 5, "return", 1, 0, nesting);
        std::string message;
        try {
            linesFor(probe, function, file);
        } catch (const Error& e) {
            message = e.what();
        }
        EXPECT_EQ(message.rfind("*** kivxmlmerge error 19 (8/", 0), 0u) << message;
        EXPECT_NE(message.find("): Out of memory."), std::string::npos) << message;
    }
    resetListingState();
}

TEST(ListingOutput, FieldsPadAndMarkFromTheRight) {
    struct Case {
        std::uint64_t value;
        std::size_t width;
        bool marker;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {0, 1, false, "0"},
        {0, 8, false, "       0"},
        {0, 8, true, " -     0"},
        {123456, 7, true, "-123456"},
        {1234567, 7, true, "1234567"},
        {12, 6, true, "    12"}, // a field narrower than seven has no marker place
        {12, 29, true, b(22) + "-" + b(4) + "12"},
        {123, 2, false, "123"},
        {9, 1, false, "9"},
        {10, 1, false, "10"},
        {100, 1, false, "100"},
        {10203040, 1, false, "10203040"},
        {99999999, 1, false, "99999999"},
        {100000000, 1, false, "100000000"},
        {9999999999999999999U, 1, false, "9999999999999999999"},
        {4294967295U, 1, false, "4294967295"},
        {18446744073709551615U, 1, false, "18446744073709551615"},
    };
    for (const Case& c : cases) {
        std::string text = "x";
        appendField(text, c.value, c.width, c.marker);
        EXPECT_EQ(text, "x" + c.expected) << c.value << " in " << c.width;
        // The export's numbers: the same digits, their end returned.
        if (c.width != 1) continue;
        char line[40];
        char* end = writeDecimal(line, c.value);
        *end++ = '|';
        EXPECT_EQ(std::string(line, end), c.expected + "|") << c.value;
    }
}

} // namespace
} // namespace kiv
