#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include <unistd.h>

#include "driver/run.hpp"

namespace kiv::fuzz {

// A scratch directory of this process, in memory where the system has one.
inline const std::string& scratchDir() {
    static const std::string dir = [] {
        const char* base = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
        std::string path = std::string(base) + "/kivfuzz-" + std::to_string(getpid());
        std::string command = "mkdir -p '" + path + "'";
        if (std::system(command.c_str()) != 0) std::abort();
        return path;
    }();
    return dir;
}

inline std::string writeScratch(const std::string& name, std::string_view bytes) {
    const std::string path = scratchDir() + "/" + name;
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) std::abort();
    if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), file) != bytes.size())
        std::abort();
    std::fclose(file);
    return path;
}

// Runs a whole merge in memory and checks the contract of every run: status
// 0 with no diagnostic, or status 2 with exactly one diagnostic line and
// nothing else; status 1 only for the help text.
inline void runAndCheck(const std::vector<std::string>& arguments) {
    std::ostringstream out;
    std::ostringstream err;
    const int status = runMerge(arguments, out, err);
    const std::string e = err.str();
    if (status == kExitSuccess) {
        if (!e.empty()) std::abort();
    } else if (status == kExitDiagnostic) {
        if (e.rfind("*** kivxmlmerge error ", 0) != 0) std::abort();
        // One diagnostic, ended by a line feed (a name that holds a line feed
        // is shown as given, so the line feed need not be the only one).
        if (e.empty() || e.back() != '\n') std::abort();
    } else if (status != kExitUsage) {
        std::abort();
    }
}

} // namespace kiv::fuzz
