#pragma once

#include <algorithm>
#include <cstdint>
#include <span>
#include <utility>
#include <vector>

namespace kiv {

class CoverageFunction;
class CoverageProbe;

// One source line of the export and its hit count.
struct ExportLine {
    std::uint32_t number = 0;
    std::uint64_t hits = 0;
};

// Lines and branches found and hit.
struct ExportTotals {
    std::uint64_t linesValid = 0;
    std::uint64_t linesCovered = 0;
    std::uint64_t branchesValid = 0;
    std::uint64_t branchesCovered = 0;

    void add(const ExportTotals& other);
};

// Whether a probe gives its line a hit count: a statement (a probe with an
// outcome of its own that is no condition) or a decision of any kind; and
// that count: a single-outcome probe's first counter, else both counters.
bool givesLine(const CoverageProbe& probe);
std::uint64_t lineCount(const CoverageProbe& probe);

// Folds the probes of functions into lines, in ascending line order. A line's
// hit count is the largest count of its probes. Each function numbers the
// branches it has on a line 0, 1, 2 ... in the order of its probes (a
// decision gives two, true then false; a case label one); branch i of the
// line is the sum of branch i of every function that has one. Sums saturate
// at the largest 64-bit value.
//
// The fold streams: functions are taken in the order of their first probe
// line, and a line is complete once the next function begins after it, so
// only the probes of functions whose lines overlap are held at a time. The
// buffers are kept from one fold to the next.
class LineFold {
  public:
    // Calls onLine(const ExportLine&, std::span<const std::uint64_t> branches)
    // for every line of the functions, ascending; returns the totals.
    template <typename OnLine>
    ExportTotals fold(std::span<const CoverageFunction* const> functions, OnLine&& onLine);

  private:
    static constexpr std::uint32_t kLineCount = UINT32_MAX; // an item that is no branch

    struct Item {
        std::uint32_t line;
        std::uint32_t branch; // its number among its function's branches on the line
        std::uint64_t count;
    };

    // The line of a function's first probe (functions without probes are
    // not folded).
    static std::uint32_t firstLine(const CoverageFunction& function);
    void begin(std::span<const CoverageFunction* const> functions);
    // Adds the items of one function, keeping the pending items in line order.
    void add(const CoverageFunction& function);
    // Folds the pending items of the lines before `limit` into line_ and
    // branches_, one line per call; false when there is none.
    bool nextLine(std::uint64_t limit);

    std::vector<const CoverageFunction*> order_;
    std::vector<Item> pending_;
    std::size_t next_ = 0; // the first pending item not folded yet
    ExportLine line_;
    std::vector<std::uint64_t> branches_;
    ExportTotals totals_;
};

template <typename OnLine>
ExportTotals LineFold::fold(std::span<const CoverageFunction* const> functions, OnLine&& onLine) {
    begin(functions);
    for (std::size_t i = 0; i <= order_.size(); ++i) {
        // Lines before the first line of the next function are complete.
        const std::uint64_t limit = i < order_.size() ? firstLine(*order_[i]) : UINT64_MAX;
        while (nextLine(limit))
            onLine(std::as_const(line_), std::span<const std::uint64_t>(branches_));
        if (i < order_.size()) add(*order_[i]);
    }
    return totals_;
}

} // namespace kiv
