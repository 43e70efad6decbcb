#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/coverage.hpp"
#include "model/current_coverage.hpp"
#include "model_test_support.hpp"

namespace kiv {
namespace {

using test::header;
using test::OneFunction;
using test::P;

struct FileRequest {
    std::string key;
    int type;
    bool chosen;
};

struct CountCase {
    std::string what;
    std::vector<FileRequest> requests;
    std::uint32_t files, headers, chosenFiles, chosenOthers;
    std::size_t mapSize;
};

TEST(CoverageFiles, FindOrCreateCountsChosenFilesOnce) {
    const std::vector<CountCase> cases = {
        {"source", {{"a.c", kSourceFile, true}}, 1, 0, 1, 0, 1},
        {"header", {{"a.h", kHeaderFile, true}}, 0, 1, 1, 0, 1},
        {"header part", {{"a.c_f(int)_1_a.h", kHeaderPart, true}}, 0, 0, 0, 1, 1},
        {"other type counts as other", {{"x", 7, true}}, 0, 0, 0, 1, 1},
        {"unchosen",
         {{"a.c", kSourceFile, false}, {"a.h", kHeaderFile, false}, {"p", kHeaderPart, false}},
         0,
         0,
         0,
         0,
         3},
        {"repeated key",
         {{"a.c", kSourceFile, true}, {"a.c", kSourceFile, true}, {"a.c", kHeaderFile, true}},
         1,
         0,
         1,
         0,
         1},
        {"first chosen flag kept",
         {{"a.c", kSourceFile, false}, {"a.c", kSourceFile, true}},
         0,
         0,
         0,
         0,
         1},
        {"mixed",
         {{"a.c", kSourceFile, true},
          {"b.c", kSourceFile, true},
          {"a.h", kHeaderFile, true},
          {"b.h", kHeaderFile, false},
          {"a.c", kSourceFile, true},
          {"p1", kHeaderPart, true},
          {"p2", kHeaderPart, true}},
         2,
         1,
         3,
         2,
         6},
    };
    for (const CountCase& c : cases) {
        SCOPED_TRACE(c.what);
        Coverage coverage("1.0.0.0", {"in.xml"}, {}, {}, {"c1", "c2"});
        for (const FileRequest& r : c.requests)
            coverage.findOrCreateFile(r.key, r.type, "Display " + r.key, r.chosen);
        EXPECT_EQ(coverage.files, c.files);
        EXPECT_EQ(coverage.headers, c.headers);
        EXPECT_EQ(coverage.chosenFiles, c.chosenFiles);
        EXPECT_EQ(coverage.chosenOthers, c.chosenOthers);
        EXPECT_EQ(coverage.fileMap.size(), c.mapSize);
    }
    EXPECT_EQ(currentCoverage(), nullptr);
}

TEST(CoverageFiles, FirstOccurrenceKeepsNameTypeAndChoice) {
    Coverage coverage("1.0.0.0", {}, {}, {}, {"c1", "c2"});
    CoverageFile& first = coverage.findOrCreateFile("c:\\a.c", kSourceFile, "C:\\A.c", true);
    CoverageFile& again = coverage.findOrCreateFile("c:\\a.c", kHeaderFile, "c:/a.c", false);
    EXPECT_EQ(&first, &again);
    EXPECT_EQ(again.displayName, "C:\\A.c");
    EXPECT_EQ(again.type, kSourceFile);
    EXPECT_EQ(again.fileType, "source");
    EXPECT_TRUE(again.chosen);
    EXPECT_EQ(coverage.findOrCreateFile("h", kHeaderPart, "h", true).fileType, "header");
}

TEST(CoverageFiles, StatementAvailableOnlyForExactNo) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"no", "no"}, {"yes", "yes"}, {"No", "yes"}, {"no ", "yes"}, {"", "yes"}};
    for (const auto& [value, expected] : cases) {
        SCOPED_TRACE(value);
        OneFunction f;
        f.file.setStatementAvailable("f", 1, "(int)", value);
        EXPECT_EQ(f.fn().statementAvailable, expected);
    }
    OneFunction f;
    f.file.setStatementAvailable("f", 2, "(int)", "no");
    f.file.setStatementAvailable("g", 1, "(int)", "no");
    EXPECT_EQ(f.fn().statementAvailable, "yes");
}

TEST(CoverageFiles, ProbesOfUnknownFunctionsAreDropped) {
    OneFunction f;
    f.occurrence({P{.line = 2, .descr = "return", .c1 = 1}});
    f.file.addProbe("f", 1, "(long)", test::record(P{.line = 2, .descr = "return", .c1 = 5}));
    f.file.addProbe("g", 1, "(int)", test::record(P{.line = 3, .descr = "x", .c1 = 5}));
    EXPECT_EQ(f.fn().probes.size(), 2U);
    EXPECT_EQ(f.at(2).front()->counters[0], 1U);
    EXPECT_EQ(f.fn().occurrences, 0U);
    EXPECT_EQ(f.file.functionMap.size(), 1U);
}

TEST(CoverageFiles, HeaderBookkeepingListsEachNameOnce) {
    CoverageFile source("c:\\a.c", kSourceFile, "C:\\a.c", true);
    source.addFunction("f", 3, "(void)", header());
    source.addHeaderPart("C:\\x.h", "f", 3, "(void)");
    source.addHeaderPart("C:\\y.h", "f", 3, "(void)");
    source.addHeaderPart("C:\\x.h", "f", 3, "(void)");
    source.addHeaderPart("C:\\z.h", "g", 3, "(void)"); // no such function: file only
    const CoverageFunction& f = *source.findFunction("f", 3, "(void)");
    EXPECT_EQ(f.headerParts.items(), (std::vector<std::string>{"C:\\x.h", "C:\\y.h"}));
    EXPECT_EQ(source.headerParts.items(),
              (std::vector<std::string>{"C:\\x.h", "C:\\y.h", "C:\\z.h"}));

    CoverageFile header("c:\\x.h", kHeaderFile, "C:\\x.h", true);
    header.addIncluder("C:\\a.c", false);
    header.addIncluder("C:\\b.c", true);
    header.addIncluder("C:\\a.c", false);
    header.addIncluder("C:\\a.c", true);
    EXPECT_EQ(header.fileIncluders.items(), (std::vector<std::string>{"C:\\a.c"}));
    EXPECT_EQ(header.functionIncluders.items(), (std::vector<std::string>{"C:\\b.c", "C:\\a.c"}));
    source.addIncludedHeader("C:\\x.h");
    source.addIncludedHeader("C:\\x.h");
    EXPECT_EQ(source.includedHeaders.size(), 1U);
}

TEST(CoverageFiles, FunctionInsertedBehindTheMergingIsStillFound) {
    CoverageFile file("a.c", kSourceFile, "a.c", true);
    file.addFunction("f", 1, "()", header());
    ASSERT_NE(file.findFunction("f", 1, "()"), nullptr);
    file.functionMap.emplace(2, std::make_unique<CoverageFunction>("g", 2, "()", header(1)));
    file.addFunction("g", 2, "()", header(2));
    EXPECT_EQ(file.functionMap.size(), 2U);
    EXPECT_EQ(file.findFunction("g", 2, "()")->callCount, 3U);
}

} // namespace
} // namespace kiv
