#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kiv {

class CoverageFile;
class CoverageFunction;

// The names under which a tracefile lists the functions of a file. A
// function's name is its own; when another function of the file has the same
// name, its parameters follow it. Readers of tracefiles end a function name at
// its first comma, so a comma is written as ";". A name that would still be
// empty or the same as an earlier function's gets "@" and its defined_at_line
// appended, and "#2", "#3" ... where functions of one name share that line too
// (no C or C++ name holds an "@", so these never meet a name of their own).
class LcovFunctionNames {
  public:
    explicit LcovFunctionNames(const CoverageFile& file);

    // Appends the name of `function`, the index-th function of the file.
    void append(std::string& out, std::size_t index, const CoverageFunction& function) const;

  private:
    struct Form {
        bool withParameters = false;
        std::uint32_t repeat = 0; // 0: the name alone; 1: "@line"; k: "@line#k"
    };
    std::vector<Form> forms_; // in the order of the file's functions
};

} // namespace kiv
