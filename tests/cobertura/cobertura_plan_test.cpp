// The totals the Cobertura XML carries before its lines, planned by one
// thread or by two that share the folds.

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "cobertura/cobertura_writer.hpp"
#include "evaluation/model_builder.hpp"
#include "export/export_records.hpp"
#include "export/written_names.hpp"

namespace kiv {
namespace {

using test::ModelBuilder;

void expectSameTotals(const ExportTotals& shared, const ExportTotals& alone) {
    EXPECT_EQ(shared.linesValid, alone.linesValid);
    EXPECT_EQ(shared.linesCovered, alone.linesCovered);
    EXPECT_EQ(shared.branchesValid, alone.branchesValid);
    EXPECT_EQ(shared.branchesCovered, alone.branchesCovered);
}

TEST(CoberturaPlan, ClassesFoldedOnTwoThreadsPlanAsOnOne) {
    // 64 files in 4 directories, three functions each: on lines 10, 20 and
    // 30, a function probe and an if on the next line; in every odd file the
    // third begins on 21 instead, sharing a line with the second.
    ModelBuilder model;
    for (unsigned f = 0; f < 64; ++f) {
        std::string key = "d";
        key += std::to_string(f % 4);
        key += "/f";
        key += std::to_string(f);
        CoverageFile& file = model.file(key + ".c");
        for (unsigned n = 0; n < 3; ++n) {
            const std::uint32_t line = n == 2 && f % 2 == 1 ? 21 : 10 * (n + 1);
            CoverageFunction& function =
                ModelBuilder::function(file, std::string(1, static_cast<char>('g' + n)), line);
            ModelBuilder::probe(function, kFunction, line, f * n);
            ModelBuilder::probe(function, kIf, line + 1, f % 3, n);
        }
    }
    const std::vector<ExportRecord> records = exportRecords(*model.coverage);
    const WrittenNames names("", false);
    const CoberturaPlan alone = planCobertura(records, names);

    CoberturaPlan shared = layoutCobertura(records, names);
    std::atomic<std::size_t> next = 0;
    std::thread other([&] { foldCoberturaClasses(shared, next); });
    foldCoberturaClasses(shared, next);
    other.join();
    completeCoberturaPlan(shared);

    EXPECT_EQ(alone.totals.linesValid, 32U * 6 + 32U * 5);
    EXPECT_EQ(alone.totals.branchesValid, 64U * 3 * 2);
    expectSameTotals(shared.totals, alone.totals);
    ASSERT_EQ(shared.classes.size(), alone.classes.size());
    for (std::size_t c = 0; c < alone.classes.size(); ++c)
        expectSameTotals(shared.classes[c].totals, alone.classes[c].totals);
    ASSERT_EQ(shared.methods.size(), alone.methods.size());
    for (std::size_t m = 0; m < alone.methods.size(); ++m) {
        EXPECT_EQ(shared.methods[m].lines, alone.methods[m].lines) << m;
        EXPECT_EQ(shared.methods[m].branches, alone.methods[m].branches) << m;
    }
    ASSERT_EQ(shared.packages.size(), 4U);
    for (std::size_t p = 0; p < 4; ++p) {
        EXPECT_EQ(shared.packages[p].name, alone.packages[p].name);
        EXPECT_EQ(shared.packages[p].classes, alone.packages[p].classes);
        expectSameTotals(shared.packages[p].totals, alone.packages[p].totals);
    }
}

} // namespace
} // namespace kiv
