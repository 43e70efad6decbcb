// The export view of a finished model: which records it has, the names they
// are written under, and how probes fold into lines and branches.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "evaluation/model_builder.hpp"
#include "export/export_records.hpp"
#include "export/line_fold.hpp"
#include "export/written_names.hpp"

namespace kiv {
namespace {

using test::ModelBuilder;

TEST(WrittenNames, RootIsComparedAsKeysAreAndCutWithItsSeparators) {
    struct Row {
        const char* root;
        bool noDriveLetter;
        const char* display;
        const char* written;
    };
    const Row rows[] = {
        {"", false, "C:\\Src\\a.c", "C:\\Src\\a.c"},
        {"c:/src", false, "C:\\Src\\a.c", "a.c"},
        {"C:\\SRC\\", false, "C:\\\\Src//sub\\\\a.c", "sub//a.c"},
        {"c:/src/sub", false, "C:\\Src\\\\Sub\\a.c", "a.c"},
        {"c:/src", false, "C:\\Srcx\\a.c", "C:\\Srcx\\a.c"},
        {"c:/src", false, "C:\\Src\\", "C:\\Src\\"},
        {"c:/src", false, "D:\\Src\\a.c", "D:\\Src\\a.c"},
        {"C:/src", true, "/src/a.c", "a.c"},
        {"/src", true, "D:/src/x/a.c", "x/a.c"},
        {"/", false, "/usr/include/a.h", "usr/include/a.h"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.root) + " " + row.display);
        EXPECT_EQ(WrittenNames(row.root, row.noDriveLetter).written(row.display), row.written);
    }
}

TEST(LineFold, LinesTakeTheLargestCountAndFunctionsNumberTheirOwnBranches) {
    ModelBuilder model;
    CoverageFile& file = model.file("a.c");
    CoverageFunction& first = ModelBuilder::function(file, "f", 10);
    ModelBuilder::probe(first, kFunction, 10, 3);
    ModelBuilder::probe(first, kIf, 11, 2, 1);
    ModelBuilder::probe(first, kSubCond, 11, 1, 0);
    ModelBuilder::probe(first, kMultiCondT, 11, 9);
    ModelBuilder::probe(first, kMcdc, 11);
    ModelBuilder::probe(first, kSwitch, 12);
    ModelBuilder::probe(first, kCase, 12, 0);
    ModelBuilder::probe(first, kMissingDefault, 12, 5);
    ModelBuilder::probe(first, kConstIf, 13, 0, 7);
    ModelBuilder::probe(first, kElse, 14);
    ModelBuilder::probe(first, kReturn, 15, 0);
    CoverageFunction& second = ModelBuilder::function(file, "g", 11);
    ModelBuilder::probe(second, kWhile, 11, 0, 4);
    ModelBuilder::probe(second, kIf, 16, 4294967295U, 4294967295U);
    ModelBuilder::probe(second, kIf, 16, 0, 0);

    struct Line {
        std::uint32_t number;
        std::uint64_t hits;
        std::vector<std::uint64_t> branches;
        bool operator==(const Line&) const = default;
    };
    std::vector<Line> folded;
    LineFold fold;
    // Given out of order and overlapping: g begins inside f.
    const CoverageFunction* const functions[] = {&second, &first};
    const ExportTotals totals =
        fold.fold(functions, [&](const ExportLine& line, std::span<const std::uint64_t> branches) {
            folded.push_back({line.number, line.hits, {branches.begin(), branches.end()}});
        });
    const std::vector<Line> expected = {
        {10, 3, {}},     {11, 4, {2, 5, 1, 0}}, // f: if 2/1, sub_cond 1/0; g: while 0/4
        {12, 5, {0, 5}}, {13, 7, {}},
        {15, 0, {}},     {16, 8589934590U, {4294967295U, 4294967295U, 0, 0}},
    };
    EXPECT_EQ(folded, expected);
    EXPECT_EQ(totals.linesValid, 6U);
    EXPECT_EQ(totals.linesCovered, 5U);
    EXPECT_EQ(totals.branchesValid, 10U);
    EXPECT_EQ(totals.branchesCovered, 6U);
}

TEST(ExportRecords, HeaderPartsJoinTheirHeaderUnderItsKeyAndNameAsFirstMet) {
    ModelBuilder model;
    CoverageFile& source = model.file("a.c");
    CoverageFile& partOfB = model.file("a.c_f()_1_h.h", kHeaderPart);
    partOfB.displayName = "H.h";
    partOfB.headerKey = "h.h";
    CoverageFile& onlyInFunctions = model.file("a.c_f()_1_i.h", kHeaderPart);
    onlyInFunctions.headerKey = "i.h";
    CoverageFile& header = model.file("h.h", kHeaderFile);
    model.file("z.c", kSourceFile, false);
    CoverageFile& unchosenPart = model.file("a.c_f()_1_z.c", kHeaderPart, false);
    unchosenPart.headerKey = "z.c";

    const std::vector<ExportRecord> records = exportRecords(*model.coverage);
    ASSERT_EQ(records.size(), 3U);
    EXPECT_EQ(records[0].key, "a.c");
    EXPECT_EQ(records[0].file, &source);
    EXPECT_TRUE(records[0].parts.empty());
    EXPECT_EQ(records[1].key, "h.h");
    EXPECT_EQ(records[1].file, &header);
    EXPECT_EQ(records[1].parts, std::vector<const CoverageFile*>{&partOfB});
    EXPECT_EQ(records[1].displayName, "H.h"); // the part was met before the header
    EXPECT_EQ(records[2].key, "i.h");
    EXPECT_EQ(records[2].file, nullptr);
    EXPECT_EQ(records[2].displayName, onlyInFunctions.displayName);
}

} // namespace
} // namespace kiv
