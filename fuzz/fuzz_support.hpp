#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <streambuf>
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

// Keeps only the end of what is written to it (and how much was written),
// so that a run with a large output costs no memory.
class TailBuffer : public std::streambuf {
  public:
    std::size_t size() const { return size_; }
    bool endsWith(std::string_view text) const {
        const std::string_view tail(tail_);
        return tail.size() >= text.size() && tail.substr(tail.size() - text.size()) == text;
    }

  protected:
    int_type overflow(int_type c) override {
        if (c != traits_type::eof()) {
            const char ch = traits_type::to_char_type(c);
            xsputn(&ch, 1);
        }
        return traits_type::not_eof(c);
    }
    std::streamsize xsputn(const char* s, std::streamsize n) override {
        const auto count = static_cast<std::size_t>(n);
        size_ += count;
        const std::size_t keep = count < kKeep ? count : kKeep;
        tail_.append(s + count - keep, keep);
        if (tail_.size() > 2 * kKeep) tail_.erase(0, tail_.size() - kKeep);
        return n;
    }

  private:
    static constexpr std::size_t kKeep = 256;
    std::string tail_;
    std::size_t size_ = 0;
};

// Diagnostics that no input may cause: an exception the program did not
// expect (20) or a broken model met by the evaluation or the writers (18).
inline bool isInternalFault(const std::string& diagnostic, std::string_view program) {
    const std::string prefix = "*** " + std::string(program) + " error ";
    return diagnostic.rfind(prefix + "18 ", 0) == 0 || diagnostic.rfind(prefix + "20 ", 0) == 0;
}

// The diagnostic with the program's name taken out.
inline std::string withoutProgram(const std::string& diagnostic) {
    const std::size_t end = diagnostic.find(" error ");
    return end == std::string::npos ? diagnostic : diagnostic.substr(end);
}

struct RunResult {
    int status;
    std::string diagnostic;
};

// Runs a whole program in memory and checks the contract of every run:
// status 0 with no diagnostic and output ending in `lastOutputEnd` (when
// given), or status 2 with exactly one diagnostic line and nothing else;
// status 1 only for the help text.
template <typename Run>
RunResult runChecked(Run run, std::string_view program, const std::vector<std::string>& arguments,
                     std::string_view lastOutputEnd) {
    TailBuffer outBuffer;
    std::ostream out(&outBuffer);
    std::ostringstream err;
    const int status = run(arguments, out, err, ModelAtEnd::Destroyed);
    const std::string e = err.str();
    if (status == kExitSuccess) {
        if (!e.empty()) std::abort();
        if (!lastOutputEnd.empty() && !outBuffer.endsWith(lastOutputEnd)) std::abort();
    } else if (status == kExitDiagnostic) {
        if (e.rfind("*** " + std::string(program) + " error ", 0) != 0) std::abort();
        // One diagnostic, ended by a line feed (a name that holds a line feed
        // is shown as given, so the line feed need not be the only one).
        if (e.empty() || e.back() != '\n') std::abort();
        if (isInternalFault(e, program)) std::abort();
    } else if (status != kExitUsage) {
        std::abort();
    }
    return {status, e};
}

// Runs a merge with `options`, and the export of the same inputs with both
// outputs on standard output: the export succeeds where the merge does and
// fails with the same diagnostic where it does (but for an indentation too
// deep for the listing, which the export does not write).
inline void runAndCheck(const std::vector<std::string>& inputs,
                        const std::vector<std::string>& options, bool summaryLast = false) {
    std::vector<std::string> mergeArguments = inputs;
    mergeArguments.insert(mergeArguments.end(), options.begin(), options.end());
    const RunResult merged =
        runChecked(runMerge, "kivxmlmerge", mergeArguments,
                   summaryLast ? "</kiv_xmlmerge_report>\n" : std::string_view());

    std::vector<std::string> exportArguments = inputs;
    for (std::size_t i = 0; i < options.size(); ++i) {
        if (options[i] == "-p" || options[i] == "-x") {
            ++i; // the export has no listing and no summary
        } else {
            exportArguments.push_back(options[i]);
        }
    }
    for (const char* option : {"-root", "C:\\", "-lcov", "-", "-cobertura", "-"})
        exportArguments.emplace_back(option);
    const RunResult exported =
        runChecked(runExport, "kivxmlexport", exportArguments, "</coverage>\n");
    const bool listingOnly = merged.diagnostic.find(" error 19 (8/") != std::string::npos;
    if (!listingOnly && (exported.status != merged.status ||
                         withoutProgram(exported.diagnostic) != withoutProgram(merged.diagnostic)))
        std::abort();
}

} // namespace kiv::fuzz
