// kivxmlexport end to end: every folder below tests/data/export is one run of
// the program (laid out as driver/golden_case.hpp describes) whose notes
// derive the expected tracefile and Cobertura XML by hand.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "driver/golden_case.hpp"
#include "driver/process_runner.hpp"

namespace kiv {
namespace {

namespace fs = std::filesystem;

const fs::path& casesRoot() {
    static const fs::path root = fs::path(KIV_TEST_DATA_DIR) / "export";
    return root;
}

class ExportGolden : public ::testing::TestWithParam<std::string> {};

TEST_P(ExportGolden, MatchesExpectedOutputs) {
    const fs::path source = casesRoot() / GetParam();
    test::ProcessResult result;
    const std::string work = test::runCase(source, test::runKivxmlexport, result);
    test::expectCaseOutcome(source, work, result);
    fs::remove_all(work);
}

INSTANTIATE_TEST_SUITE_P(Cases, ExportGolden, ::testing::ValuesIn(test::caseFolders(casesRoot())),
                         test::caseTestName);

// The cases are there: a missing or misplaced folder must not pass unnoticed.
TEST(ExportCases, ArePresent) {
    EXPECT_GE(test::caseFolders(casesRoot()).size(), 6u);
}

} // namespace
} // namespace kiv
