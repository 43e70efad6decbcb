// kivxmlexport reads as kivxmlmerge reads: over the corpus of malformed inputs,
// command lines and unwritable outputs below tests/data/bad (see
// bad_input_test.cpp), both programs run the same case, kivxmlexport with
// -lcov and -cobertura where kivxmlmerge has -p and -x. What kivxmlmerge
// rejects, kivxmlexport rejects with the same diagnostic line after its own
// name (code, unit, source line and message) and status 2, writing none of
// the outputs; what kivxmlmerge accepts, it accepts too. Its own command-line
// diagnostics follow in a table.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "driver/golden_case.hpp"
#include "driver/process_runner.hpp"

namespace kiv {
namespace {

namespace fs = std::filesystem;

const fs::path& casesRoot() {
    static const fs::path root = fs::path(KIV_TEST_DATA_DIR) / "bad";
    return root;
}

// kivxmlexport's option for an output option of kivxmlmerge.
std::string exportArgument(const std::string& argument) {
    if (argument == "-p") return "-lcov";
    if (argument == "-x") return "-cobertura";
    return argument;
}

// The code kivxmlexport raises where kivxmlmerge raises `code`: its output
// options and their absence have codes of their own.
int exportCode(int code) {
    switch (code) {
    case 2: // -p without argument
        return 26;
    case 3: // -x without argument
        return 27;
    case 21: // no output option
        return 29;
    default:
        return code;
    }
}

// A case in a fresh folder with the directories it asks for; for the export,
// its options files name the export's output options.
std::string prepare(const fs::path& source, bool forExport) {
    const std::string work = test::makeTempDir();
    for (const auto& entry : fs::directory_iterator(source)) {
        if (!entry.is_regular_file()) continue;
        const fs::path copy = fs::path(work) / entry.path().filename();
        fs::copy_file(entry.path(), copy);
        if (!forExport || entry.path().extension() != ".opt") continue;
        const std::string text = test::readFile(entry.path().string());
        std::string mapped;
        for (std::size_t start = 0; start <= text.size();) {
            const std::size_t end = std::min(text.find(' ', start), text.size());
            if (start != 0) mapped.push_back(' ');
            mapped += exportArgument(text.substr(start, end - start));
            start = end + 1;
        }
        test::writeFile(copy.string(), mapped);
    }
    for (const std::string& dir : test::lines(test::optionalFile(source / "dirs")))
        fs::create_directories(fs::path(work) / dir);
    return work;
}

// A diagnostic line without the program name that begins it.
std::string afterProgramName(const std::string& err) {
    const std::size_t at = err.find(" error ");
    return at == std::string::npos ? err : err.substr(at);
}

// Cases that kivxmlmerge rejects for its listing alone: the listing indents a
// probe by its nesting level, which can exceed any memory; the export writes
// no indentation and accepts them.
const std::set<std::string> kListingOnly = {"nesting-beyond-indentation-limit"};

class ExportBadInput : public ::testing::TestWithParam<std::string> {};

TEST_P(ExportBadInput, EndsAsKivxmlmergeEnds) {
    const fs::path source = casesRoot() / GetParam();
    std::vector<std::string> args = test::lines(test::readFile((source / "args").string()));
    std::string stdoutPath;
    const std::vector<std::string> stdoutMode = test::lines(test::optionalFile(source / "stdout"));
    if (!stdoutMode.empty() && stdoutMode[0] == "full") stdoutPath = "/dev/full";
    if (!stdoutMode.empty() && stdoutMode[0] == "closed") stdoutPath = test::kClosedStdout;
    const std::vector<std::string> environment{"SOURCE_DATE_EPOCH=1700000000"};

    const std::string mergeWork = prepare(source, false);
    const test::ProcessResult merge =
        test::runKivxmlmerge(args, mergeWork, stdoutPath, environment);
    for (std::string& argument : args)
        argument = exportArgument(argument);
    const std::string exportWork = prepare(source, true);
    const test::ProcessResult exported =
        test::runKivxmlexport(args, exportWork, stdoutPath, environment);

    const bool listingOnly = kListingOnly.contains(GetParam());
    EXPECT_EQ(exported.status, listingOnly ? 0 : merge.status) << exported.err;
    const int code = test::diagnosticCode(merge.err);
    if (listingOnly) {
        EXPECT_EQ(merge.status, 2) << "kivxmlmerge accepts it now: no longer a listing limit";
        EXPECT_EQ(exported.err, "");
    } else if (merge.status != 2) {
        EXPECT_EQ(exported.err, "");
    } else if (exportCode(code) != code) {
        EXPECT_EQ(test::diagnosticCode(exported.err), exportCode(code)) << exported.err;
        EXPECT_EQ(test::diagnosticUnit(exported.err), test::diagnosticUnit(merge.err));
    } else {
        ASSERT_NE(code, -1) << merge.err;
        EXPECT_TRUE(exported.err.starts_with("*** kivxmlexport error ")) << exported.err;
        EXPECT_EQ(afterProgramName(exported.err), afterProgramName(merge.err));
    }
    if (!listingOnly) {
        for (const std::string& name : test::lines(test::optionalFile(source / "absent")))
            EXPECT_FALSE(fs::exists(fs::path(exportWork) / name)) << name << " must not be created";
    }
    fs::remove_all(mergeWork);
    fs::remove_all(exportWork);
}

INSTANTIATE_TEST_SUITE_P(Cases, ExportBadInput, ::testing::ValuesIn(test::caseFolders(casesRoot())),
                         test::caseTestName);

// The options of kivxmlexport's own: each run ends with its diagnostic,
// status 2 and no output.
struct OwnOption {
    std::vector<std::string> args;
    int code;
    std::string message;
};

class ExportCommandLine : public ::testing::TestWithParam<OwnOption> {};

TEST_P(ExportCommandLine, EndsWithItsDiagnostic) {
    const OwnOption& row = GetParam();
    const std::string work = test::makeTempDir();
    fs::copy_file(fs::path(KIV_TEST_DATA_DIR) / "export" / "branches" / "in.xml",
                  fs::path(work) / "in.xml");
    const test::ProcessResult run = test::runKivxmlexport(row.args, work);
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(test::diagnosticCode(run.err), row.code) << run.err;
    EXPECT_EQ(test::diagnosticMessage(run.err), row.message) << run.err;
    EXPECT_TRUE(run.err.starts_with("*** kivxmlexport error ")) << run.err;
    for (const char* output : {"out.info", "out.xml", "out.txt"})
        EXPECT_FALSE(fs::exists(fs::path(work) / output)) << output << " must not be created";
    fs::remove_all(work);
}

INSTANTIATE_TEST_SUITE_P(
    Codes, ExportCommandLine,
    ::testing::Values(
        OwnOption{
            {"in.xml", "-cobertura", "out.xml", "-lcov"}, 26, "Option -lcov requires argument."},
        OwnOption{{"in.xml", "-lcov", "out.info", "-cobertura"},
                  27,
                  "Option -cobertura requires argument."},
        OwnOption{{"in.xml", "-lcov", "out.info", "-root"}, 28, "Option -root requires argument."},
        OwnOption{{"in.xml", "-root", "src", "-lcov", ""},
                  29,
                  "Output option -lcov or -cobertura missing."},
        OwnOption{{"in.xml", "-lcov", "out.info", "-p", "out.txt"}, 6, "Unknown option: -p"}));

} // namespace
} // namespace kiv
