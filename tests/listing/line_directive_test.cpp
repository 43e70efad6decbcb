#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "diagnostics/error.hpp"
#include "listing/listing_state.hpp"
#include "listing_model.hpp"

namespace kiv {
namespace {

using test::firstBlockBody;
using test::ListingModel;
using test::listingOf;

std::string b(std::size_t count) {
    return std::string(count, ' ');
}

// A source file whose function "run" (line 10) holds code of the header
// inc.h: the header part keeps that code in its function "N.A.".
class DirectiveModel : public ListingModel {
  public:
    DirectiveModel()
        : source(file("c:\\src\\main.c", kSourceFile, "C:\\Src\\main.c")),
          part(file("c:\\src\\main.c_run()_10_c:\\src\\inc.h", kHeaderPart, "C:\\Src\\inc.h")),
          run(function(source, "run", 10)), headerCode(function(part, "N.A.", 0, "( )")) {
        // Without function footers the block body runs to the file footer.
        source.functionCoverageOnly = true;
        probe(run, kFunction, 10, "run()", 1, 0, 0, 1, 1);
        probe(headerCode, kReturn, 3, "return x", 1, 0, 1, 1, 1);
    }

    // An in-function directive at `key` in `function`, leading to `target`.
    CoverageProbe& directive(CoverageFunction& function, std::uint32_t key, CoverageFile& target,
                             std::uint32_t sourceLine, std::uint32_t number) {
        CoverageProbe& made = probe(function, kLinedirInFunction, key, "#line", 0, 0, 1);
        made.setOwner(&target);
        made.setSourceLines(RunList(sourceLine));
        made.setDirectiveLines(RunList(number));
        return made;
    }

    CoverageFile& source;
    CoverageFile& part;
    CoverageFunction& run;
    CoverageFunction& headerCode;
};

const std::string kRunLine = b(9) + "1" + b(17) + "10 run()";
const std::string kReturnLine = b(9) + "1" + b(18) + "3   return x";
const std::string kEndLine = b(9) + "1" + b(17) + "14 }";

TEST(LineDirective, IntoAHeaderPartAndBack) {
    DirectiveModel m;
    // The line column shows the largest source line, the text the smallest
    // directive number.
    m.directive(m.run, 11, m.part, 16, 2);
    m.directive(m.run, 12, m.source, 17, 12);
    ListingModel::probe(m.run, kFunctionEnd, 14, "}", 1, 0, 0, 1, 1);
    const std::vector<std::string> expected = {
        kRunLine,    b(27) + "16   #line 2 \"C:\\Src\\inc.h\"",
        kReturnLine, b(27) + "17   #line 12 \"C:\\Src\\main.c\"",
        kEndLine,
    };
    EXPECT_EQ(firstBlockBody(listingOf(m.coverage())), expected);
}

TEST(LineDirective, AHeaderPartIsWrittenOnce) {
    DirectiveModel m;
    m.directive(m.run, 11, m.part, 11, 1);
    m.directive(m.run, 12, m.source, 12, 12);
    // The same header entered again: its code was listed, and leading back
    // then has no waiting header part.
    m.directive(m.run, 13, m.part, 13, 1);
    m.directive(m.run, 13, m.source, 13, 13);
    ListingModel::probe(m.run, kFunctionEnd, 14, "}", 1, 0, 0, 1, 1);
    const std::vector<std::string> expected = {
        kRunLine,    b(27) + "11   #line 1 \"C:\\Src\\inc.h\"",
        kReturnLine, b(27) + "12   #line 12 \"C:\\Src\\main.c\"",
        kEndLine,
    };
    EXPECT_EQ(firstBlockBody(listingOf(m.coverage())), expected);
}

TEST(LineDirective, HeaderCodeEndingTheFunctionNeedsNoWayBack) {
    DirectiveModel m;
    ListingModel::probe(m.headerCode, kFunctionEnd, 4, "}", 1, 0, 0, 1, 1);
    m.directive(m.run, 11, m.part, 11, 1);
    m.directive(m.run, 12, m.source, 12, 12);
    const std::vector<std::string> expected = {
        kRunLine,
        b(27) + "11   #line 1 \"C:\\Src\\inc.h\"",
        kReturnLine,
        b(9) + "1" + b(18) + "4 }",
    };
    EXPECT_EQ(firstBlockBody(listingOf(m.coverage())), expected);
}

TEST(LineDirective, LeadingBackWithoutAWaitingHeaderWritesNothing) {
    DirectiveModel m;
    m.directive(m.run, 12, m.source, 12, 12);
    // A directive without an owning file leads back as well.
    CoverageProbe& ownerless = m.directive(m.run, 13, m.source, 13, 13);
    ownerless.setOwner(nullptr);
    EXPECT_EQ(firstBlockBody(listingOf(m.coverage())), std::vector<std::string>{kRunLine});
}

TEST(LineDirective, TheNextFunctionStartLeadsBackAtFileLevel) {
    DirectiveModel m;
    m.directive(m.run, 11, m.part, 11, 1);
    CoverageFunction& next = ListingModel::function(m.source, "next", 20);
    next.returnLine = 18;
    next.returnDirective = 19;
    ListingModel::probe(next, kFunction, 20, "next()", 1, 0, 1, 1, 1);
    CoverageFunction& last = ListingModel::function(m.source, "last", 30);
    last.returnLine = 28;
    last.returnDirective = 29;
    ListingModel::probe(last, kFunction, 30, "last()", 1, 0, 0, 1, 1);
    const std::vector<std::string> expected = {
        kRunLine,
        b(27) + "11   #line 1 \"C:\\Src\\inc.h\"",
        kReturnLine,
        // Indented like the function probe that follows it.
        b(27) + "18   #line 19 \"C:\\Src\\main.c\"",
        b(9) + "1" + b(17) + "20   next()",
        b(9) + "1" + b(17) + "30 last()",
    };
    EXPECT_EQ(firstBlockBody(listingOf(m.coverage())), expected);
}

TEST(LineDirective, AWaitingHeaderPartEndsWithItsFile) {
    DirectiveModel m;
    m.directive(m.run, 11, m.part, 11, 1);
    CoverageFile& other = m.file("c:\\src\\other.c", kSourceFile, "C:\\Src\\other.c");
    CoverageFunction& first = ListingModel::function(other, "first", 5);
    first.returnLine = 4;
    first.returnDirective = 4;
    ListingModel::probe(first, kFunction, 5, "first()", 1, 0, 0, 1, 1);
    const std::string listing = listingOf(m.coverage());
    EXPECT_EQ(listing.find("#line 4"), std::string::npos);
    EXPECT_NE(listing.find(b(9) + "1" + b(18) + "5 first()\n"), std::string::npos);
}

TEST(LineDirective, AHeaderPartLeadingIntoItselfIsNotFollowed) {
    DirectiveModel m;
    m.directive(m.headerCode, 5, m.part, 5, 5);
    m.directive(m.run, 11, m.part, 11, 1);
    const std::vector<std::string> expected = {
        kRunLine,
        b(27) + "11   #line 1 \"C:\\Src\\inc.h\"",
        kReturnLine,
    };
    EXPECT_EQ(firstBlockBody(listingOf(m.coverage())), expected);
}

TEST(LineDirective, AHeaderPartWithoutFunctionIsOutOfRange) {
    DirectiveModel m;
    CoverageFile& empty =
        m.file("c:\\src\\main.c_run()_10_c:\\src\\empty.h", kHeaderPart, "C:\\Src\\empty.h");
    m.directive(m.run, 11, empty, 11, 1);
    std::ostringstream out;
    std::string message;
    try {
        writeListing(m.coverage(), out);
    } catch (const Error& e) {
        message = e.what();
    }
    EXPECT_EQ(message.rfind("*** kivxmlmerge error 18 (6/", 0), 0u) << message;
    EXPECT_NE(message.find("): Out of range exception: header part without a function: "
                           "C:\\Src\\empty.h"),
              std::string::npos)
        << message;
    // What was complete before the error is in the output; the writer state
    // is cleared for the next merge.
    EXPECT_NE(out.str().find(kRunLine + "\n"), std::string::npos);
    EXPECT_EQ(out.str().back(), '\n');
    EXPECT_EQ(listingState().currentFile, nullptr);
    EXPECT_EQ(listingState().pendingDirectiveFile, nullptr);
    EXPECT_TRUE(listingState().listedFunctions.empty());
}

} // namespace
} // namespace kiv
