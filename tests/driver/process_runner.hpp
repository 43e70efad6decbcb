#pragma once

#include <string>
#include <vector>

namespace kiv::test {

inline constexpr const char* kClosedStdout = "<closed>";

struct ProcessResult {
    int status = -1; // exit status, or -1 when the process did not exit normally
    std::string out;
    std::string err;
};

// Runs the built kivxmlmerge with the given arguments in directory `cwd`,
// standard output going to `stdoutPath` when given (else captured), or closed
// when that is kClosedStdout.
// `environment` entries ("NAME=value") are added to the inherited environment.
ProcessResult runKivxmlmerge(const std::vector<std::string>& arguments, const std::string& cwd,
                             const std::string& stdoutPath = "",
                             const std::vector<std::string>& environment = {});

// The same for the built kivxmlexport.
ProcessResult runKivxmlexport(const std::vector<std::string>& arguments, const std::string& cwd,
                              const std::string& stdoutPath = "",
                              const std::vector<std::string>& environment = {});

// A fresh empty directory below the system's temporary directory.
std::string makeTempDir();
void writeFile(const std::string& path, const std::string& text);
std::string readFile(const std::string& path);
bool fileExists(const std::string& path);

// The part of a diagnostic line after "): ", or "" when the line is not one.
std::string diagnosticMessage(const std::string& err);
// The code of a diagnostic line, or -1.
int diagnosticCode(const std::string& err);
// The unit of a diagnostic line, or -1.
int diagnosticUnit(const std::string& err);

} // namespace kiv::test
