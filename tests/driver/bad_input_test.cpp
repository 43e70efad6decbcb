// Malformed inputs, command lines and outputs that cannot be written: every
// folder below tests/data/bad is one run of the program that must end in an
// orderly way, with the right diagnostic and exit status, never a crash, a
// hang or an output that silently went missing.
//
//   args          one argument per line (names relative to the case folder;
//                 an empty line is an empty argument)
//   diagnostic    the expected diagnostic message (the text after "): ")
//   code          the expected diagnostic code
//   status        the expected exit status (2 with a diagnostic, else 0)
//   absent        names the run must not create, one per line
//   dirs          directories to create before the run, one per line
//   stdout        how standard output is connected: "full" (/dev/full) or
//                 "closed"; captured when absent
//   contains/NAME lines that output NAME (or "stdout") must hold, byte for
//                 byte, one per line
//
// Each case runs in a copy of its folder with SOURCE_DATE_EPOCH set, and is
// killed (and fails) when it runs longer than a minute.

#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "driver/golden_case.hpp"
#include "driver/process_runner.hpp"

namespace kiv {
namespace {

namespace fs = std::filesystem;

constexpr unsigned kTimeLimitSeconds = 60;

const fs::path& casesRoot() {
    static const fs::path root = fs::path(KIV_TEST_DATA_DIR) / "bad";
    return root;
}

using test::lines;
using test::optionalFile;

std::vector<std::string> caseNames() {
    std::vector<std::string> names;
    if (!fs::exists(casesRoot())) return names;
    for (const auto& entry : fs::directory_iterator(casesRoot()))
        if (entry.is_directory()) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

enum class StandardOutput { Captured, Full, Closed };

struct Outcome {
    test::ProcessResult result;
    int signal = 0; // the signal that ended the process, if one did
};

// Runs the program in cwd; standard output goes to outPath, /dev/full or
// nowhere (closed), standard error to errPath.
Outcome runProgram(const std::vector<std::string>& arguments, const std::string& cwd,
                   StandardOutput mode, const std::string& outPath, const std::string& errPath) {
    std::vector<std::string> copies = arguments;
    std::string program = KIV_BINARY;
    std::vector<char*> argv{program.data()};
    for (std::string& a : copies)
        argv.push_back(a.data());
    argv.push_back(nullptr);

    const pid_t pid = fork();
    if (pid < 0) throw std::runtime_error("fork failed");
    if (pid == 0) {
        if (chdir(cwd.c_str()) != 0) _exit(127);
        setenv("SOURCE_DATE_EPOCH", "1700000000", 1);
        const char* outName = mode == StandardOutput::Full ? "/dev/full" : outPath.c_str();
        const int out = open(outName, O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const int err = open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const int in = open("/dev/null", O_RDONLY);
        if (out < 0 || err < 0 || in < 0) _exit(127);
        dup2(in, 0);
        dup2(out, 1);
        dup2(err, 2);
        close(in);
        close(out);
        close(err);
        if (mode == StandardOutput::Closed) close(1);
        alarm(kTimeLimitSeconds); // survives exec: a hanging run is killed
        execv(argv[0], argv.data());
        _exit(127);
    }
    int wstatus = 0;
    waitpid(pid, &wstatus, 0);
    Outcome outcome;
    outcome.result.status = WIFEXITED(wstatus) ? WEXITSTATUS(wstatus) : -1;
    outcome.signal = WIFSIGNALED(wstatus) ? WTERMSIG(wstatus) : 0;
    if (mode == StandardOutput::Captured) outcome.result.out = test::readFile(outPath);
    outcome.result.err = test::readFile(errPath);
    return outcome;
}

// Shortens a long text for a failure message.
std::string excerpt(const std::string& text) {
    return text.size() <= 300 ? text : text.substr(0, 300) + "...";
}

class BadInput : public ::testing::TestWithParam<std::string> {};

TEST_P(BadInput, EndsInAnOrderlyWay) {
    const fs::path source = casesRoot() / GetParam();
    const std::string work = test::makeTempDir();
    for (const auto& entry : fs::directory_iterator(source))
        if (entry.is_regular_file())
            fs::copy_file(entry.path(), fs::path(work) / entry.path().filename());
    for (const std::string& dir : lines(optionalFile(source / "dirs")))
        fs::create_directories(fs::path(work) / dir);

    StandardOutput mode = StandardOutput::Captured;
    const std::vector<std::string> stdoutMode = lines(optionalFile(source / "stdout"));
    if (!stdoutMode.empty() && stdoutMode[0] == "full") mode = StandardOutput::Full;
    if (!stdoutMode.empty() && stdoutMode[0] == "closed") mode = StandardOutput::Closed;

    const std::string scratch = test::makeTempDir();
    const Outcome run = runProgram(lines(test::readFile((source / "args").string())), work, mode,
                                   scratch + "/stdout", scratch + "/stderr");
    const test::ProcessResult& result = run.result;
    ASSERT_EQ(run.signal, 0) << "killed by signal " << run.signal << "\n" << excerpt(result.err);

    const bool expectDiagnostic = fs::exists(source / "diagnostic");
    int status = expectDiagnostic ? 2 : 0;
    if (fs::exists(source / "status"))
        status = std::stoi(test::readFile((source / "status").string()));
    EXPECT_EQ(result.status, status) << excerpt(result.err);

    if (expectDiagnostic) {
        const auto expected = lines(test::readFile((source / "diagnostic").string()));
        ASSERT_EQ(expected.size(), 1u);
        // One line: the parser rejects anything else.
        EXPECT_EQ(test::diagnosticMessage(result.err), expected[0]) << excerpt(result.err);
        EXPECT_EQ(test::diagnosticCode(result.err),
                  std::stoi(test::readFile((source / "code").string())))
            << excerpt(result.err);
    } else {
        EXPECT_EQ(result.err, "");
    }

    for (const std::string& name : lines(optionalFile(source / "absent")))
        EXPECT_FALSE(fs::exists(fs::path(work) / name)) << name << " must not be created";

    if (fs::exists(source / "contains")) {
        for (const auto& entry : fs::directory_iterator(source / "contains")) {
            const std::string name = entry.path().filename().string();
            if (name != "stdout") {
                EXPECT_TRUE(fs::exists(fs::path(work) / name)) << name << " was not written";
            }
            const std::string output =
                name == "stdout" ? result.out : test::readFile(work + "/" + name);
            for (const std::string& needle : lines(test::readFile(entry.path().string())))
                EXPECT_NE(output.find(needle), std::string::npos)
                    << "output " << name << " lacks: " << excerpt(needle);
        }
    }
    fs::remove_all(scratch);
    fs::remove_all(work);
}

INSTANTIATE_TEST_SUITE_P(Cases, BadInput, ::testing::ValuesIn(caseNames()), [](const auto& info) {
    std::string name = info.param;
    for (char& c : name)
        if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
    return name;
});

// The corpus is there: a missing or misplaced folder must not pass unnoticed.
TEST(BadInputCorpus, IsPresent) {
    EXPECT_GE(caseNames().size(), 50u);
}

} // namespace
} // namespace kiv
