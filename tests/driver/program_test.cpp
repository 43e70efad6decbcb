#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "driver/output.hpp"
#include "driver/process_runner.hpp"
#include "driver/version.hpp"

namespace kiv {
namespace {

using Strings = std::vector<std::string>;
using test::diagnosticCode;
using test::diagnosticMessage;
using test::diagnosticUnit;
using test::fileExists;
using test::readFile;
using test::runKivxmlmerge;

std::string expectedUsage() {
    return "\n"
           "This KIVEX utility kivxmlmerge (v" +
           versionText() +
           ") reads kivpost-generated XML coverage\n"
           "report(s), extracts instrumented header files to their own entities, sums up\n"
           "execution hits, recalculates TER, and writes merged textual execution\n"
           "profile listing (-p) and/or summary XML report (-x, TERs only).\n"
           "\n"
           "Usage:\n"
           "kivxmlmerge input.xml... [-p profilefile] [-x xmlfile] [@optionsfile]\n"
           "            [-f file[;file]...]... [-nf file[;file]...]... [-ndl]\n"
           "kivxmlmerge [-h]\n"
           "\n"
           "Options:\n"
           "   input.xml       Input XML file. One or more KIVEX XML coverage reports.\n"
           "   -p profilefile  Output merged textual execution profile listing.\n"
           "   -x xmlfile      Output merged summary XML report.\n"
           "   @optionsfile    Input and options can be given also at optionsfile.\n"
           "   -f file         Only these instrumented files are reported.\n"
           "   -nf file        These instrumented files are not reported.\n"
           "   -ndl            No drive letter (removed from reported filenames).\n"
           "   -h              Display command line help.\n"
           "\n"
           "Example: kivxmlmerge input1.xml input2.xml -p profile.txt -x summary.xml\n";
}

// Each test runs the program in a fresh directory holding a valid report a.xml.
class Program : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = test::makeTempDir();
        std::filesystem::copy_file(std::string(KIV_TEST_DATA_DIR) + "/driver/minimal.xml",
                                   dir_ + "/a.xml");
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }
    // A fixed time of the run, so that outputs of different runs compare equal.
    test::ProcessResult run(const Strings& args, const std::string& stdoutPath = "") {
        return runKivxmlmerge(args, dir_, stdoutPath, {"SOURCE_DATE_EPOCH=1700000000"});
    }
    std::string path(const std::string& name) const { return dir_ + "/" + name; }
    std::string dir_;
};

TEST_F(Program, UsageTextAndStatusOne) {
    for (const Strings& args : {Strings{}, Strings{"a.xml", "-h"}, Strings{"-h", "-z"},
                                Strings{"a.xml", "-p", "out.txt", "-h", "-x", "s.xml"}}) {
        const auto r = run(args);
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(r.out, expectedUsage());
        EXPECT_EQ(r.err, "");
    }
    EXPECT_FALSE(fileExists(path("out.txt")));
}

TEST_F(Program, EveryCommandLineDiagnosticEndsWithStatusTwo) {
    test::writeFile(path("c.txt"), "");
    test::writeFile(path("report"), "");
    struct Case {
        Strings args;
        int code;
        std::string message;
    };
    const std::vector<Case> cases = {
        {{"@"}, 1, "Option @ requires argument without space."},
        {{"a.xml", "-p"}, 2, "Option -p requires argument."},
        {{"a.xml", "-x"}, 3, "Option -x requires argument."},
        {{"a.xml", "-f"}, 4, "Option -f requires argument."},
        {{"a.xml", "-nf"}, 5, "Option -nf requires argument."},
        {{"a.xml", "-z", "-h"}, 6, "Unknown option: -z"},
        {{"a.xml", "", "-p", "o"}, 6, "Unknown option: "},
        {{"c.txt", "-p", "o"}, 7, "Input XML file name extension not allowed: c.txt"},
        {{"report", "-p", "o"}, 8, "Input XML file name extension missing: report"},
        {{"missing.xml", "-p", "o"}, 9, "Input XML file does not exist: missing.xml"},
        {{"-p", "o"}, 10, "No input XML file."},
        {{"@opts", "-p", "o"}, 11, "Options file does not exist: opts"},
        {{"a.xml"}, 21, "Output option missing."},
        {{"a.xml", "-p", "no/such/dir/out.txt"},
         24,
         "Output file can not be opened: no/such/dir/out.txt"},
        {{"a.xml", "-x", "/dev/full"}, 25, "Output file write failed: /dev/full"},
        {{"a.xml", "-p", "/dev/full"}, 25, "Output file write failed: /dev/full"},
    };
    for (const Case& c : cases) {
        const auto r = run(c.args);
        SCOPED_TRACE(c.message);
        EXPECT_EQ(r.status, 2);
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(diagnosticCode(r.err), c.code) << r.err;
        EXPECT_EQ(diagnosticUnit(r.err), c.code >= 24 ? 7 : 1);
        EXPECT_EQ(diagnosticMessage(r.err), c.message);
    }
    EXPECT_FALSE(fileExists(path("o")));
}

TEST_F(Program, StandardOutputThatCannotBeWrittenIsReported) {
    const auto r = run({"a.xml", "-x", "-"}, "/dev/full");
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(diagnosticCode(r.err), 25);
    EXPECT_EQ(diagnosticMessage(r.err), "Output file write failed: -");
}

TEST_F(Program, DashPTakesTheNextArgumentWhateverItIs) {
    const auto r = run({"-p", "-x", "a.xml"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out, "");
    EXPECT_TRUE(fileExists(path("-x")));
    EXPECT_FALSE(readFile(path("-x")).empty());
}

TEST_F(Program, LaterDashPReplacesEarlierOne) {
    const auto r = run({"a.xml", "-p", "out.txt", "-p", "other.txt"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_FALSE(fileExists(path("out.txt")));
    EXPECT_TRUE(fileExists(path("other.txt")));
}

TEST_F(Program, ListingIsClosedBeforeTheSummaryOpens) {
    ASSERT_EQ(run({"a.xml", "-p", "l.txt"}).status, 0);
    ASSERT_EQ(run({"a.xml", "-x", "s.xml"}).status, 0);
    const std::string listing = readFile(path("l.txt"));
    const std::string summary = readFile(path("s.xml"));
    ASSERT_FALSE(listing.empty());
    ASSERT_FALSE(summary.empty());

    // Both to one file: the summary is what stays (its options line names
    // the outputs as given).
    ASSERT_EQ(run({"a.xml", "-p", "same", "-x", "same"}).status, 0);
    const std::string same = readFile(path("same"));
    EXPECT_EQ(same.rfind("<?xml", 0), 0u);
    EXPECT_NE(same.find("<kivxmlmerge_options>a.xml -p same -x same</kivxmlmerge_options>"),
              std::string::npos);
    EXPECT_EQ(same.find("EXECUTION PROFILE LISTING"), std::string::npos);

    // Both to standard output: the whole listing, then the summary.
    const auto both = run({"a.xml", "-p", "-", "-x", "-"});
    EXPECT_EQ(both.status, 0);
    ASSERT_GT(both.out.size(), listing.size());
    EXPECT_EQ(both.out.substr(0, listing.size()), listing);
    const std::string rest = both.out.substr(listing.size());
    EXPECT_EQ(rest.rfind("<?xml", 0), 0u);
    EXPECT_EQ(rest.substr(rest.size() - 23), "</kiv_xmlmerge_report>\n");

    // A file is truncated, not appended to.
    test::writeFile(path("l2.txt"), std::string(100000, 'z'));
    ASSERT_EQ(run({"a.xml", "-p", "l2.txt"}).status, 0);
    EXPECT_EQ(readFile(path("l2.txt")), listing);

    // A summary that cannot be opened leaves the complete listing behind.
    const auto failed = run({"a.xml", "-p", "l3.txt", "-x", "missing/s.xml"});
    EXPECT_EQ(failed.status, 2);
    EXPECT_EQ(diagnosticCode(failed.err), 24);
    EXPECT_EQ(readFile(path("l3.txt")), listing);
}

// kivxmlexport writes two files at once, unless they may be one: then the
// tracefile is closed before the Cobertura XML replaces it. A failure of the
// tracefile is told before one of the Cobertura file.
TEST_F(Program, ExportOutputsAtOnceOrOneAfterTheOther) {
    const auto exportRun = [this](const Strings& args) {
        return test::runKivxmlexport(args, dir_, "", {"SOURCE_DATE_EPOCH=1700000000"});
    };
    ASSERT_EQ(exportRun({"a.xml", "-lcov", "l.info"}).status, 0);
    ASSERT_EQ(exportRun({"a.xml", "-cobertura", "c.xml"}).status, 0);
    const std::string lcov = readFile(path("l.info"));
    const std::string cobertura = readFile(path("c.xml"));
    ASSERT_NE(lcov.find("end_of_record"), std::string::npos);

    ASSERT_EQ(exportRun({"a.xml", "-lcov", "l2.info", "-cobertura", "c2.xml"}).status, 0);
    EXPECT_EQ(readFile(path("l2.info")), lcov);
    EXPECT_EQ(readFile(path("c2.xml")), cobertura);

    ASSERT_EQ(exportRun({"a.xml", "-lcov", "same", "-cobertura", "./same"}).status, 0);
    EXPECT_EQ(readFile(path("same")), cobertura);

    const auto lcovFails = exportRun({"a.xml", "-lcov", "missing/l.info", "-cobertura", "c3.xml"});
    EXPECT_EQ(lcovFails.status, 2);
    EXPECT_EQ(diagnosticMessage(lcovFails.err), "Output file can not be opened: missing/l.info");
    const auto coberturaFails =
        exportRun({"a.xml", "-lcov", "l4.info", "-cobertura", "missing/c.xml"});
    EXPECT_EQ(coberturaFails.status, 2);
    EXPECT_EQ(diagnosticMessage(coberturaFails.err),
              "Output file can not be opened: missing/c.xml");
    EXPECT_EQ(readFile(path("l4.info")), lcov);
}

TEST_F(Program, OutputsAreSeparateFilesOnlyWhenSurely) {
    std::filesystem::create_directory(path("d"));
    test::writeFile(path("d/f"), "x");
    std::filesystem::create_hard_link(path("d/f"), path("hard"));
    std::filesystem::create_symlink(path("d/f"), path("soft"));
    const struct {
        const char* first;
        const char* second;
        bool separate;
    } cases[] = {
        {"a", "b", true},       {"d/f", "a", true},     {"d/f", "hard2", true},
        {"a", "a", false},      {"a", "./a", false},    {"d/f", "d/../d/f", false},
        {"d/f", "hard", false}, {"soft", "d/f", false}, {"-", "a", false},
        {"a", "-", false},      {"-", "-", false},
    };
    const auto named = [this](const std::string& name) { return name == "-" ? name : path(name); };
    for (const auto& c : cases)
        EXPECT_EQ(separateFiles(named(c.first), named(c.second)), c.separate)
            << c.first << " " << c.second;
    // Relative names of files that do not exist yet.
    EXPECT_FALSE(separateFiles("not-there", "./not-there"));
    EXPECT_TRUE(separateFiles("not-there", "not-there-either"));
}

TEST_F(Program, OptionsFileWithQuotesAcrossLineEnds) {
    std::filesystem::copy_file(path("a.xml"), path("my report.xml"));
    // The line end ends "out" but the quotes stay open, so the blank in
    // "my report.xml" belongs to the next token.
    test::writeFile(path("opts"), "-p \"out\nmy report.xml\" a.xml\n");
    const auto r = run({"@opts"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(fileExists(path("out")));

    test::writeFile(path("opts2"), "a.xml -x \"s\n.xml\"");
    const auto split = run({"@opts2"});
    EXPECT_EQ(split.status, 2);
    EXPECT_EQ(diagnosticMessage(split.err), "Input XML file does not exist: .xml");
}

TEST_F(Program, ManyAndHugeArgumentsNeitherCrashNorHang) {
    Strings many(10000, "a.xml");
    many.push_back("-x");
    many.push_back("s.xml");
    const auto r = run(many);
    EXPECT_EQ(r.status, 0) << r.err.substr(0, 200);
    EXPECT_TRUE(fileExists(path("s.xml")));

    // A single argument on the command line is limited by the system (128 KiB
    // on Linux); an options file carries a 1 MiB one.
    const std::string big = "-" + std::string(100000, 'q');
    const auto unknown = run({"a.xml", big});
    EXPECT_EQ(unknown.status, 2);
    EXPECT_TRUE(diagnosticMessage(unknown.err) == "Unknown option: " + big);

    const std::string huge = std::string(1 << 20, 'n') + ".xml";
    test::writeFile(path("opts"), "-p out.txt " + huge);
    const auto missing = run({"@opts"});
    EXPECT_EQ(missing.status, 2);
    EXPECT_TRUE(diagnosticMessage(missing.err) == "Input XML file does not exist: " + huge);
}

} // namespace
} // namespace kiv
