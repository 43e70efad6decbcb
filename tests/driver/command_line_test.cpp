#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "diagnostics/error.hpp"
#include "driver/command_line.hpp"
#include "driver/process_runner.hpp"
#include "driver/program.hpp"

namespace kiv {
namespace {

using Strings = std::vector<std::string>;

// Runs the interpretation inside a directory holding a.xml, b.XML, c.txt,
// report (no dot), dir.d/report and the options files opts and opts2.
class CommandLine : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = test::makeTempDir();
        previous_ = std::filesystem::current_path();
        std::filesystem::current_path(dir_);
        for (const char* name : {"a.xml", "b.XML", "c.txt", "a.xml.bak", "report", "x.Xml"})
            test::writeFile(name, "");
        std::filesystem::create_directory("dir.d");
        test::writeFile("dir.d/report", "");
        test::writeFile("opts", "a.xml b.XML\n-p out.txt");
        test::writeFile("opts2", "@opts");
    }
    void TearDown() override {
        std::filesystem::current_path(previous_);
        std::filesystem::remove_all(dir_);
    }

    // The diagnostic message (after "): ") or "" when none was raised.
    static Strings names(const Settings& settings) {
        const auto views = settings.inputNames();
        return Strings(views.begin(), views.end());
    }

    std::string errorOf(const Strings& args, Settings* out = nullptr,
                        const Program& program = mergeProgram()) {
        Settings settings;
        try {
            interpretCommandLine(args, settings, program);
        } catch (const Error& e) {
            const std::string line = e.what();
            return line.substr(line.find("): ") + 3);
        }
        if (out) *out = settings;
        return "";
    }

    std::string dir_;
    std::filesystem::path previous_;
};

TEST_F(CommandLine, ErrorsInTheirOrderWithTheirTexts) {
    struct Case {
        Strings args;
        std::string message;
    };
    const std::vector<Case> cases = {
        {{"@"}, "Option @ requires argument without space."},
        {{"@", "opts"}, "Option @ requires argument without space."},
        {{"a.xml", "-p"}, "Option -p requires argument."},
        {{"a.xml", "-x"}, "Option -x requires argument."},
        {{"a.xml", "-f"}, "Option -f requires argument."},
        {{"a.xml", "-nf"}, "Option -nf requires argument."},
        {{"a.xml", "-z"}, "Unknown option: -z"},
        {{"a.xml", "-hx"}, "Unknown option: -hx"},
        {{"a.xml", "-P", "o"}, "Unknown option: -P"},
        {{"a.xml", "--p", "o"}, "Unknown option: --p"},
        {{"a.xml", "-ndl1"}, "Unknown option: -ndl1"},
        {{"a.xml", "-"}, "Unknown option: -"},
        {{"a.xml", ""}, "Unknown option: "},
        {{"-z", "-h"}, "Unknown option: -z"},
        {{"c.txt", "-p", "o"}, "Input XML file name extension not allowed: c.txt"},
        {{"a.xml.bak", "-p", "o"}, "Input XML file name extension not allowed: a.xml.bak"},
        {{"dir.d/report", "-p", "o"}, "Input XML file name extension not allowed: dir.d/report"},
        {{"report", "-p", "o"}, "Input XML file name extension missing: report"},
        {{"missing.xml", "-p", "o"}, "Input XML file does not exist: missing.xml"},
        {{"missing", "-p", "o"}, "Input XML file does not exist: missing"},
        {{"-p", "o"}, "No input XML file."},
        {{"-p", "o", "-x", "s"}, "No input XML file."},
        {{"@nothere", "a.xml"}, "Options file does not exist: nothere"},
        {{"a.xml"}, "Output option missing."},
        {{"a.xml", "-p", "", "-x", ""}, "Output option missing."},
        {{"a.xml", "-ndl", "-f", "*.c"}, "Output option missing."},
        // Options files do not nest: "@opts" read from a file is an input name.
        {{"@opts2", "-x", "s"}, "Input XML file does not exist: @opts"},
        // Errors are found in argument order.
        {{"missing.xml", "-z"}, "Input XML file does not exist: missing.xml"},
    };
    for (const Case& c : cases) {
        std::string joined;
        for (const auto& a : c.args)
            joined += "[" + a + "]";
        EXPECT_EQ(errorOf(c.args), c.message) << joined;
    }
}

TEST_F(CommandLine, ExportProgramHasItsOwnOutputOptions) {
    const std::vector<std::pair<Strings, std::string>> cases = {
        {{"a.xml", "-lcov"}, "Option -lcov requires argument."},
        {{"a.xml", "-cobertura"}, "Option -cobertura requires argument."},
        {{"a.xml", "-lcov", "o", "-root"}, "Option -root requires argument."},
        {{"a.xml", "-p", "o"}, "Unknown option: -p"},
        {{"a.xml", "-root", "r", "-lcov", ""}, "Output option -lcov or -cobertura missing."},
    };
    for (const auto& [args, message] : cases)
        EXPECT_EQ(errorOf(args, nullptr, exportProgram()), message) << args.back();

    Settings s;
    ASSERT_EQ(errorOf({"a.xml", "-lcov", "-x", "-cobertura", "c", "-root", "r1", "-root", "r2"}, &s,
                      exportProgram()),
              "");
    EXPECT_EQ(s.lcovName, "-x");
    EXPECT_EQ(s.coberturaName, "c");
    EXPECT_EQ(s.root, "r2");
    EXPECT_EQ(s.listingName, "");
}

TEST_F(CommandLine, UsageOutcomes) {
    Settings settings;
    EXPECT_EQ(interpretCommandLine({}, settings, mergeProgram()), CommandLineOutcome::Usage);
    EXPECT_EQ(interpretCommandLine({"a.xml", "-p", "o", "-h"}, settings, mergeProgram()),
              CommandLineOutcome::Usage);
    Settings other;
    EXPECT_EQ(interpretCommandLine({"-h", "-z"}, other, mergeProgram()), CommandLineOutcome::Usage);
}

TEST_F(CommandLine, SettingsFromAcceptedArguments) {
    Settings s;
    ASSERT_EQ(errorOf({"a.xml", "b.XML", "x.Xml", "a.xml", "-p", "out.txt", "-p", "other.txt", "-f",
                       "a.c;b.c", "-f", "c.c", "-nf", ";x.c;;y.c;", "-nf", "", "-ndl"},
                      &s),
              "");
    EXPECT_EQ(names(s), (Strings{"a.xml", "b.XML", "x.Xml", "a.xml"}));
    EXPECT_EQ(s.listingName, "other.txt");
    EXPECT_EQ(s.summaryName, "");
    EXPECT_EQ(s.chosenPatterns, (Strings{"a.c", "b.c", "c.c"}));
    EXPECT_EQ(s.unchosenPatterns, (Strings{"", "x.c", "", "y.c"}));
    EXPECT_TRUE(s.noDriveLetter);

    Settings swallowed;
    ASSERT_EQ(errorOf({"-p", "-x", "a.xml"}, &swallowed), "");
    EXPECT_EQ(swallowed.listingName, "-x");
    EXPECT_EQ(swallowed.summaryName, "");
    EXPECT_EQ(names(swallowed), (Strings{"a.xml"}));
}

TEST_F(CommandLine, OptionsFileTokensReplaceTheArgument) {
    Settings s;
    ASSERT_EQ(errorOf({"-x", "s.xml", "@opts", "-ndl"}, &s), "");
    EXPECT_EQ(s.arguments, (Strings{"-x", "s.xml", "a.xml", "b.XML", "-p", "out.txt", "-ndl"}));
    EXPECT_EQ(names(s), (Strings{"a.xml", "b.XML"}));
    EXPECT_EQ(s.listingName, "out.txt");
}

TEST(SplitPatterns, CutsAtEverySemicolon) {
    struct Case {
        std::string argument;
        Strings expected;
    };
    const std::vector<Case> cases = {
        {"a.c;b.c", {"a.c", "b.c"}},
        {";a.c", {"", "a.c"}},
        {"a.c;", {"a.c"}},
        {"", {}},
        {";", {""}},
        {"a;;b", {"a", "", "b"}},
        {" a ; B ", {" a ", " B "}},
    };
    for (const Case& c : cases) {
        Strings patterns{"kept"};
        splitPatterns(c.argument, patterns);
        Strings expected{"kept"};
        expected.insert(expected.end(), c.expected.begin(), c.expected.end());
        EXPECT_EQ(patterns, expected) << c.argument;
    }
}

} // namespace
} // namespace kiv
