#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace kiv {

class CoverageFunction;
class CoverageProbe;

// One source line of the export: its hit count and its branches.
struct ExportLine {
    std::uint32_t number = 0;
    std::uint64_t hits = 0;
    std::uint32_t firstBranch = 0; // index of its first branch in LineFold::branches()
    std::uint32_t branchCount = 0;
};

// Lines and branches found and hit.
struct ExportTotals {
    std::uint64_t linesValid = 0;
    std::uint64_t linesCovered = 0;
    std::uint64_t branchesValid = 0;
    std::uint64_t branchesCovered = 0;

    void add(const ExportTotals& other);
};

// The hit count a probe gives its line, when it gives one: a statement (a
// probe with an outcome of its own that is no condition) or a decision of any
// kind. Single-outcome probes count their first counter, the others both.
bool givesLine(const CoverageProbe& probe);
std::uint64_t lineCount(const CoverageProbe& probe);

// Folds the probes of functions into lines. A line's hit count is the largest
// count of its probes. Each function numbers the branches it has on a line
// 0, 1, 2 ... in the order of its probes (a decision gives two, true then
// false; a case label one); branch i of the line is the sum of branch i of
// every function that has one. Sums saturate at the largest 64-bit value.
// The buffers are kept from one fold to the next.
class LineFold {
  public:
    // Starts a new fold.
    void clear();
    // Adds the probes of one function.
    void addFunction(const CoverageFunction& function);
    // Folds what was added; lines ascending.
    void finish();

    std::span<const ExportLine> lines() const { return lines_; }
    // Taken counts of the branches of every line, line after line.
    std::span<const std::uint64_t> branches() const { return branches_; }
    const ExportTotals& totals() const { return totals_; }

  private:
    static constexpr std::uint32_t kLineCount = UINT32_MAX; // an item that is no branch

    struct Item {
        std::uint32_t line;
        std::uint32_t function; // which function added it
        std::uint32_t branch;   // its number on the line, or kLineCount
        std::uint64_t count;
    };

    std::vector<Item> items_;
    std::uint32_t functions_ = 0;
    std::vector<ExportLine> lines_;
    std::vector<std::uint64_t> branches_;
    ExportTotals totals_;
};

} // namespace kiv
