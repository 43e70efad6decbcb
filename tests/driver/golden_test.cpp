// End-to-end cases: every folder below tests/data/golden holds input reports,
// the command line and the expected outputs of one run of the program.
//
//   args             one argument per line (names relative to the case folder)
//   expected/NAME    a file NAME the run must write, compared byte for byte;
//                    expected/stdout is the expected standard output
//   status           the expected exit status (0 when absent)
//   diagnostic       the expected diagnostic message (the text after "): ")
//   absent           names of files the run must not create, one per line
//
// Each case runs in a copy of its folder with SOURCE_DATE_EPOCH=1700000000,
// so the time of the run reads "Tue Nov 14 22:13:20 2023".

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "driver/process_runner.hpp"

namespace kiv {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> result;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        result.push_back(line);
    return result;
}

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
    std::vector<std::string> names;
    const fs::path root = fs::path(KIV_TEST_DATA_DIR) / "golden";
    if (!fs::exists(root)) return names;
    for (const auto& entry : fs::directory_iterator(root)) {
        if (!entry.is_directory()) continue;
        if (withSummaryOnly && expectedSummaries(entry.path()).empty()) continue;
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

bool haveXmllint() {
    return std::system("xmllint --version >/dev/null 2>&1") == 0;
}

// Runs a case in a fresh copy of its folder; returns the folder.
std::string runCase(const fs::path& source, test::ProcessResult& result) {
    const std::string work = test::makeTempDir();
    for (const auto& entry : fs::directory_iterator(source)) {
        if (entry.is_regular_file())
            fs::copy_file(entry.path(), fs::path(work) / entry.path().filename());
    }
    const std::vector<std::string> args = lines(test::readFile((source / "args").string()));
    result = test::runKivxmlmerge(args, work, "", {"SOURCE_DATE_EPOCH=1700000000"});
    return work;
}

class Golden : public ::testing::TestWithParam<std::string> {};

TEST_P(Golden, MatchesExpectedOutputs) {
    const fs::path source = fs::path(KIV_TEST_DATA_DIR) / "golden" / GetParam();
    test::ProcessResult result;
    const std::string work = runCase(source, result);

    int status = 0;
    if (fs::exists(source / "status"))
        status = std::stoi(test::readFile((source / "status").string()));
    EXPECT_EQ(result.status, status) << result.err;
    if (fs::exists(source / "diagnostic")) {
        const auto expected = lines(test::readFile((source / "diagnostic").string()));
        ASSERT_EQ(expected.size(), 1u);
        EXPECT_EQ(test::diagnosticMessage(result.err), expected[0]) << result.err;
    } else {
        EXPECT_EQ(result.err, "");
    }

    const fs::path expectedDir = source / "expected";
    if (fs::exists(expectedDir)) {
        for (const auto& entry : fs::directory_iterator(expectedDir)) {
            const std::string name = entry.path().filename().string();
            const std::string expected = test::readFile(entry.path().string());
            const std::string actual =
                name == "stdout" ? result.out : test::readFile(work + "/" + name);
            if (name != "stdout") {
                EXPECT_TRUE(fs::exists(work + "/" + name)) << name << " was not written";
            }
            EXPECT_EQ(actual, expected) << "output " << name << " of case " << GetParam();
        }
    }
    if (fs::exists(source / "absent")) {
        for (const std::string& name : lines(test::readFile((source / "absent").string())))
            EXPECT_FALSE(fs::exists(work + "/" + name)) << name << " must not be written";
    }
    fs::remove_all(work);
}

// Every summary report the program writes for a case is well-formed XML.
class GoldenSummary : public ::testing::TestWithParam<std::string> {};

TEST_P(GoldenSummary, IsWellFormed) {
    const fs::path source = fs::path(KIV_TEST_DATA_DIR) / "golden" / GetParam();
    if (!haveXmllint()) GTEST_SKIP() << "xmllint is not installed";
    test::ProcessResult result;
    const std::string work = runCase(source, result);
    for (const std::string& name : expectedSummaries(source)) {
        ASSERT_TRUE(fs::exists(work + "/" + name)) << name;
        const std::string command = "xmllint --noout '" + work + "/" + name + "' 2>/dev/null";
        EXPECT_EQ(std::system(command.c_str()), 0) << name << " of case " << GetParam();
    }
    fs::remove_all(work);
}

std::string testName(const ::testing::TestParamInfo<std::string>& info) {
    std::string name = info.param;
    for (char& c : name)
        if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
    return name;
}

INSTANTIATE_TEST_SUITE_P(Cases, Golden, ::testing::ValuesIn(caseNames(false)), testName);
INSTANTIATE_TEST_SUITE_P(Cases, GoldenSummary, ::testing::ValuesIn(caseNames(true)), testName);
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(Golden);
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(GoldenSummary);

} // namespace
} // namespace kiv
