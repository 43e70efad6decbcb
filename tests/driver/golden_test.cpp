// End-to-end cases of kivxmlmerge: every folder below tests/data/golden is one
// run of the program, laid out as driver/golden_case.hpp describes.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "driver/golden_case.hpp"
#include "driver/process_runner.hpp"

namespace kiv {
namespace {

namespace fs = std::filesystem;

// The summary reports among a case's expected outputs.
std::vector<std::string> expectedSummaries(const fs::path& source) {
    std::vector<std::string> summaries;
    const fs::path expectedDir = source / "expected";
    if (!fs::exists(expectedDir)) return summaries;
    for (const auto& entry : fs::directory_iterator(expectedDir)) {
        const std::string name = entry.path().filename().string();
        const std::string text = test::readFile(entry.path().string());
        if (name != "stdout" && text.find("<kiv_xmlmerge_report>") != std::string::npos)
            summaries.push_back(name);
    }
    return summaries;
}

std::vector<std::string> caseNames(bool withSummaryOnly) {
    const fs::path root = fs::path(KIV_TEST_DATA_DIR) / "golden";
    std::vector<std::string> names = test::caseFolders(root);
    if (withSummaryOnly)
        std::erase_if(
            names, [&](const std::string& name) { return expectedSummaries(root / name).empty(); });
    return names;
}

bool haveXmllint() {
    return std::system("xmllint --version >/dev/null 2>&1") == 0;
}

class Golden : public ::testing::TestWithParam<std::string> {};

TEST_P(Golden, MatchesExpectedOutputs) {
    const fs::path source = fs::path(KIV_TEST_DATA_DIR) / "golden" / GetParam();
    test::ProcessResult result;
    const std::string work = test::runCase(source, test::runKivxmlmerge, result);
    test::expectCaseOutcome(source, work, result);
    fs::remove_all(work);
}

// Every summary report the program writes for a case is well-formed XML.
class GoldenSummary : public ::testing::TestWithParam<std::string> {};

TEST_P(GoldenSummary, IsWellFormed) {
    const fs::path source = fs::path(KIV_TEST_DATA_DIR) / "golden" / GetParam();
    if (!haveXmllint()) GTEST_SKIP() << "xmllint is not installed";
    test::ProcessResult result;
    const std::string work = test::runCase(source, test::runKivxmlmerge, result);
    for (const std::string& name : expectedSummaries(source)) {
        ASSERT_TRUE(fs::exists(work + "/" + name)) << name;
        const std::string command = "xmllint --noout '" + work + "/" + name + "' 2>/dev/null";
        EXPECT_EQ(std::system(command.c_str()), 0) << name << " of case " << GetParam();
    }
    fs::remove_all(work);
}

INSTANTIATE_TEST_SUITE_P(Cases, Golden, ::testing::ValuesIn(caseNames(false)), test::caseTestName);
INSTANTIATE_TEST_SUITE_P(Cases, GoldenSummary, ::testing::ValuesIn(caseNames(true)),
                         test::caseTestName);
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(Golden);
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(GoldenSummary);

} // namespace
} // namespace kiv
