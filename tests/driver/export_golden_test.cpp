// kivxmlexport end to end: every folder below tests/data/export is one run of
// the program (laid out as driver/golden_case.hpp describes) whose notes
// derive the expected tracefile and Cobertura XML by hand. The programs that
// read these formats then read what the run wrote: lcov and genhtml must see
// the totals the tracefile states, and the Cobertura XML must be valid against
// tests/data/export/coverage-04.dtd with totals that add up. A consumer check
// skips only when its tool is not installed.

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>
#include <string_view>
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

// The expected outputs of a case that begin with `start`.
std::vector<std::string> outputsStarting(const fs::path& source, std::string_view start) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(source / "expected"))
        if (test::readFile(entry.path().string()).starts_with(start))
            names.push_back(entry.path().filename().string());
    return names;
}

constexpr std::string_view kTracefile = "TN:"; // a tracefile with a record at least
constexpr std::string_view kCobertura = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                                        "<!DOCTYPE coverage";

std::vector<std::string> casesWriting(std::string_view start) {
    std::vector<std::string> names = test::caseFolders(casesRoot());
    std::erase_if(names, [&](const std::string& name) {
        return outputsStarting(casesRoot() / name, start).empty();
    });
    return names;
}

bool haveTool(const std::string& name) {
    return std::system(("command -v " + name + " >/dev/null 2>&1").c_str()) == 0;
}

struct CommandResult {
    int status = -1;
    std::string out; // standard output and standard error
};

CommandResult runCommand(const std::string& command) {
    CommandResult result;
    FILE* pipe = popen((command + " 2>&1").c_str(), "r");
    if (pipe == nullptr) return result;
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        result.out.append(buffer, n);
    const int status = pclose(pipe);
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

std::uint64_t number(std::string_view text) {
    return std::stoull(std::string(text));
}

// What a tracefile states of itself: its LF, LH, FNF, FNH, BRF and BRH lines
// summed over its records, and each count under "SF|DA:line",
// "SF|FNDA:name" and "SF|BRDA:line,block,branch".
struct Tracefile {
    std::map<std::string, std::uint64_t> totals;
    std::map<std::string, std::string> counts;
};

Tracefile readTracefile(const std::string& text) {
    Tracefile trace;
    std::string file;
    for (const std::string& line : test::lines(text)) {
        const std::size_t colon = line.find(':');
        if (colon == std::string::npos) continue;
        const std::string tag = line.substr(0, colon);
        const std::string value = line.substr(colon + 1);
        if (tag == "SF") {
            file = value;
        } else if (tag == "LF" || tag == "LH" || tag == "FNF" || tag == "FNH" || tag == "BRF" ||
                   tag == "BRH") {
            trace.totals[tag] += number(value);
        } else if (tag == "DA" || tag == "BRDA") { // DA:line,count, BRDA:line,block,branch,taken
            const std::size_t comma = value.rfind(',');
            trace.counts[file + "|" + tag + ":" + value.substr(0, comma)] = value.substr(comma + 1);
        } else if (tag == "FNDA") { // FNDA:count,name
            const std::size_t comma = value.find(',');
            trace.counts[file + "|FNDA:" + value.substr(comma + 1)] = value.substr(0, comma);
        }
    }
    return trace;
}

// A tracefile of a case, as the run wrote it.
class LcovReadsExport : public ::testing::TestWithParam<std::string> {
  protected:
    void SetUp() override {
        if (!haveTool("lcov") || !haveTool("genhtml")) GTEST_SKIP() << "lcov is not installed";
        const fs::path source = casesRoot() / GetParam();
        test::ProcessResult result;
        work_ = test::runCase(source, test::runKivxmlexport, result);
        ASSERT_EQ(result.status, 0) << result.err;
        const std::vector<std::string> names = outputsStarting(source, kTracefile);
        ASSERT_EQ(names.size(), 1u);
        path_ = work_ + "/" + names[0];
        trace_ = readTracefile(test::readFile(path_));
    }
    void TearDown() override {
        if (!work_.empty()) fs::remove_all(work_);
    }

    std::uint64_t total(const char* tag) { return trace_.totals[tag]; }

    std::string work_;
    std::string path_;
    Tracefile trace_;
};

constexpr const char* kBranches = " --rc lcov_branch_coverage=1";

// lcov prints "<label> <rate>% (<hit> of <found> <unit>)", the unit singular
// for one, or "no data found".
void expectSummaryLine(const std::string& summary, const std::string& label, std::uint64_t hit,
                       std::uint64_t found, const std::string& unit, const std::string& units) {
    const std::size_t at = summary.find(label);
    ASSERT_NE(at, std::string::npos) << label << " missing in:\n" << summary;
    const std::string line = summary.substr(at, summary.find('\n', at) - at);
    std::string expected = "no data found";
    if (found != 0) {
        expected = "(";
        expected += std::to_string(hit);
        expected += " of ";
        expected += std::to_string(found);
        expected += " " + (found == 1 ? unit : units) + ")";
    }
    EXPECT_TRUE(line.ends_with(expected)) << line << "\nexpected it to end with " << expected;
}

TEST_P(LcovReadsExport, SummaryShowsTheTracefileTotals) {
    const CommandResult run = runCommand("lcov --summary '" + path_ + "'" + kBranches);
    ASSERT_EQ(run.status, 0) << run.out;
    expectSummaryLine(run.out, "lines......:", total("LH"), total("LF"), "line", "lines");
    expectSummaryLine(run.out, "functions..:", total("FNH"), total("FNF"), "function", "functions");
    expectSummaryLine(run.out, "branches...:", total("BRH"), total("BRF"), "branch", "branches");
}

TEST_P(LcovReadsExport, AddedToItselfDoublesEveryCount) {
    const std::string sum = work_ + "/sum.info";
    const CommandResult run =
        runCommand("lcov -q -a '" + path_ + "' -a '" + path_ + "' -o '" + sum + "'" + kBranches);
    ASSERT_EQ(run.status, 0) << run.out;
    const Tracefile doubled = readTracefile(test::readFile(sum));
    ASSERT_FALSE(trace_.counts.empty());
    ASSERT_EQ(doubled.counts.size(), trace_.counts.size());
    for (const auto& [key, count] : trace_.counts) {
        const auto found = doubled.counts.find(key);
        ASSERT_NE(found, doubled.counts.end()) << key;
        const std::string expected = count == "-" ? "-" : std::to_string(2 * number(count));
        EXPECT_EQ(found->second, expected) << key;
    }
}

// The hit and found figures genhtml shows for `item` on its index page.
std::pair<std::string, std::string> indexFigures(const std::string& html, const std::string& item) {
    static const std::string cell = "headerCovTableEntry\">";
    std::size_t at = html.find("headerItem\">" + item + ":</td>");
    std::string figures[2];
    for (std::string& figure : figures) {
        if (at != std::string::npos) at = html.find(cell, at);
        if (at == std::string::npos) return {};
        at += cell.size();
        figure = html.substr(at, html.find('<', at) - at);
    }
    return {figures[0], figures[1]};
}

TEST_P(LcovReadsExport, GenhtmlRendersTheTracefileTotals) {
    const std::string html = work_ + "/html";
    const CommandResult run =
        runCommand("genhtml -q --no-source --branch-coverage '" + path_ + "' -o '" + html + "'");
    ASSERT_EQ(run.status, 0) << run.out;
    const std::string index = test::readFile(html + "/index.html");
    const auto figures = [&](const char* hit, const char* found) {
        return std::pair{std::to_string(total(hit)), std::to_string(total(found))};
    };
    EXPECT_EQ(indexFigures(index, "Lines"), figures("LH", "LF"));
    EXPECT_EQ(indexFigures(index, "Functions"), figures("FNH", "FNF"));
    EXPECT_EQ(indexFigures(index, "Branches"), figures("BRH", "BRF"));
}

// The value of attribute `name` in the element text `element`.
std::string attribute(std::string_view element, const std::string& name) {
    const std::string opening = " " + name + "=\"";
    const std::size_t at = element.find(opening);
    if (at == std::string_view::npos) return {};
    const std::size_t start = at + opening.size();
    return std::string(element.substr(start, element.find('"', start) - start));
}

class CoberturaExport : public ::testing::TestWithParam<std::string> {};

TEST_P(CoberturaExport, IsValidAndItsTotalsAreTheSumsOverTheClassLines) {
    if (!haveTool("xmllint")) GTEST_SKIP() << "xmllint is not installed";
    const fs::path source = casesRoot() / GetParam();
    test::ProcessResult result;
    const std::string work = test::runCase(source, test::runKivxmlexport, result);
    ASSERT_EQ(result.status, 0) << result.err;
    const std::string dtd = (casesRoot() / "coverage-04.dtd").string();
    for (const std::string& name : outputsStarting(source, kCobertura)) {
        const std::string path = work + "/" + name;
        const CommandResult valid =
            runCommand("xmllint --noout --nonet --dtdvalid '" + dtd + "' '" + path + "'");
        EXPECT_EQ(valid.status, 0) << name << " of case " << GetParam() << ":\n" << valid.out;

        // The lines of the classes: every <line> outside the <methods>.
        std::string text = test::readFile(path);
        for (std::size_t at; (at = text.find("<methods>")) != std::string::npos;)
            text.erase(at, text.find("</methods>", at) + 10 - at);
        std::uint64_t linesValid = 0;
        std::uint64_t linesCovered = 0;
        std::uint64_t branchesValid = 0;
        std::uint64_t branchesCovered = 0;
        for (std::size_t at = text.find("<line "); at != std::string::npos;
             at = text.find("<line ", at + 1)) {
            const std::string_view line(text.data() + at, text.find('>', at) - at);
            ++linesValid;
            if (attribute(line, "hits") != "0") ++linesCovered;
            const std::string coverage = attribute(line, "condition-coverage"); // "P% (c/t)"
            if (coverage.empty()) continue;
            const std::size_t open = coverage.find('(');
            const std::size_t slash = coverage.find('/');
            branchesCovered += number(coverage.substr(open + 1, slash - open - 1));
            branchesValid += number(coverage.substr(slash + 1, coverage.size() - slash - 2));
        }
        const std::string coverage = text.substr(text.find("<coverage "));
        EXPECT_EQ(attribute(coverage, "lines-valid"), std::to_string(linesValid));
        EXPECT_EQ(attribute(coverage, "lines-covered"), std::to_string(linesCovered));
        EXPECT_EQ(attribute(coverage, "branches-valid"), std::to_string(branchesValid));
        EXPECT_EQ(attribute(coverage, "branches-covered"), std::to_string(branchesCovered));
    }
    fs::remove_all(work);
}

INSTANTIATE_TEST_SUITE_P(Cases, ExportGolden, ::testing::ValuesIn(test::caseFolders(casesRoot())),
                         test::caseTestName);
INSTANTIATE_TEST_SUITE_P(Cases, LcovReadsExport, ::testing::ValuesIn(casesWriting(kTracefile)),
                         test::caseTestName);
INSTANTIATE_TEST_SUITE_P(Cases, CoberturaExport, ::testing::ValuesIn(casesWriting(kCobertura)),
                         test::caseTestName);

// The cases are there: a missing or misplaced folder must not pass unnoticed.
TEST(ExportCases, ArePresent) {
    EXPECT_GE(test::caseFolders(casesRoot()).size(), 6u);
    EXPECT_GE(casesWriting(kTracefile).size(), 5u);
    EXPECT_GE(casesWriting(kCobertura).size(), 6u);
}

} // namespace
} // namespace kiv
