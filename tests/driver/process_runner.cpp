#include "driver/process_runner.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace kiv::test {

std::string makeTempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "kivtest-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    return pattern;
}

void writeFile(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
    if (!out) throw std::runtime_error("cannot write " + path);
}

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

bool fileExists(const std::string& path) {
    return std::filesystem::exists(path);
}

namespace {

ProcessResult runBinary(const std::string& binary, const std::vector<std::string>& arguments,
                        const std::string& cwd, const std::string& stdoutPath,
                        const std::vector<std::string>& environment) {
    const std::string scratch = makeTempDir();
    const bool closed = stdoutPath == kClosedStdout;
    const std::string outPath = stdoutPath.empty() || closed ? scratch + "/stdout" : stdoutPath;
    const std::string errPath = scratch + "/stderr";
    std::vector<char*> argv;
    std::string program = binary;
    argv.push_back(program.data());
    std::vector<std::string> copies = arguments;
    for (std::string& a : copies)
        argv.push_back(a.data());
    argv.push_back(nullptr);

    const pid_t pid = fork();
    if (pid < 0) throw std::runtime_error("fork failed");
    if (pid == 0) {
        if (!cwd.empty() && chdir(cwd.c_str()) != 0) _exit(127);
        for (const std::string& entry : environment) {
            const std::size_t eq = entry.find('=');
            setenv(entry.substr(0, eq).c_str(), entry.substr(eq + 1).c_str(), 1);
        }
        const int out = open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const int err = open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const int in = open("/dev/null", O_RDONLY);
        if (out < 0 || err < 0 || in < 0) _exit(127);
        dup2(in, 0);
        dup2(out, 1);
        dup2(err, 2);
        if (closed) close(1);
        execv(argv[0], argv.data());
        _exit(127);
    }
    int wstatus = 0;
    waitpid(pid, &wstatus, 0);
    ProcessResult result;
    result.status = WIFEXITED(wstatus) ? WEXITSTATUS(wstatus) : -1;
    if (stdoutPath.empty() || stdoutPath != "/dev/full") result.out = readFile(outPath);
    result.err = readFile(errPath);
    std::filesystem::remove_all(scratch);
    return result;
}

} // namespace

ProcessResult runKivxmlmerge(const std::vector<std::string>& arguments, const std::string& cwd,
                             const std::string& stdoutPath,
                             const std::vector<std::string>& environment) {
    return runBinary(KIV_BINARY, arguments, cwd, stdoutPath, environment);
}

ProcessResult runKivxmlexport(const std::vector<std::string>& arguments, const std::string& cwd,
                              const std::string& stdoutPath,
                              const std::vector<std::string>& environment) {
    return runBinary(KIV_EXPORT_BINARY, arguments, cwd, stdoutPath, environment);
}

namespace {

struct Parsed {
    int code = -1;
    int unit = -1;
    std::string message;
};

// Parses "*** kivxmlmerge error C (U/L): message\n" (or the same of
// kivxmlexport) by hand (a message may be megabytes long).
Parsed parseDiagnostic(const std::string& err) {
    Parsed parsed;
    std::string prefix = "*** kivxmlmerge error ";
    if (err.rfind(prefix, 0) != 0) prefix = "*** kivxmlexport error ";
    if (err.rfind(prefix, 0) != 0 || err.empty() || err.back() != '\n') return parsed;
    if (err.find('\n') != err.size() - 1) return parsed; // exactly one line
    std::size_t pos = prefix.size();
    auto number = [&](char end) {
        std::size_t start = pos;
        while (pos < err.size() && std::isdigit(static_cast<unsigned char>(err[pos])))
            ++pos;
        if (pos == start || pos >= err.size() || err[pos] != end) return -1;
        const int value = std::stoi(err.substr(start, pos - start));
        ++pos;
        return value;
    };
    const int code = number(' ');
    if (code < 0 || pos >= err.size() || err[pos] != '(') return parsed;
    ++pos;
    const int unit = number('/');
    if (unit < 0) return parsed;
    const int line = number(')');
    if (line < 0 || err.compare(pos, 2, ": ") != 0) return parsed;
    parsed.code = code;
    parsed.unit = unit;
    parsed.message = err.substr(pos + 2, err.size() - pos - 3);
    return parsed;
}

} // namespace

std::string diagnosticMessage(const std::string& err) {
    return parseDiagnostic(err).message;
}
int diagnosticCode(const std::string& err) {
    return parseDiagnostic(err).code;
}
int diagnosticUnit(const std::string& err) {
    return parseDiagnostic(err).unit;
}

} // namespace kiv::test
