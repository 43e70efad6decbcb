#pragma once

#include <algorithm>
#include <cstdint>
#include <span>
#include <utility>
#include <vector>

#include "evaluation/statement_analysis.hpp"
#include "model/coverage_function.hpp"

namespace kiv {

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

// The outcome class of a decision: true and false counters.
inline constexpr std::uint32_t kDecisionClass = 4;

// Whether a probe gives its line a hit count: a statement (a probe with an
// outcome of its own that is no condition) or a decision of any kind; and
// that count: a single-outcome probe's first counter, else both counters.
inline bool givesLine(const CoverageProbe& probe) {
    return probe.outcomeClass == kDecisionClass || isStatementProbe(probe);
}
inline std::uint64_t lineCount(const CoverageProbe& probe) {
    if (probe.outcomeClass == 2) return probe.counters[0];
    return std::uint64_t{probe.counters[0]} + probe.counters[1];
}

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

    // Whether no two of the functions share a line: their fold is then the
    // lines of each function alone, one function after the other.
    bool apart(std::span<const CoverageFunction* const> functions);

  private:
    // The line of a function's first and last probe (not for a function
    // without probes).
    static std::uint32_t firstLine(const CoverageFunction& function);
    static std::uint32_t lastLine(const CoverageFunction& function);

    static constexpr std::uint32_t kLineCount = UINT32_MAX; // an item that is no branch

    struct Item {
        std::uint32_t line;
        std::uint32_t branch; // its number among its function's branches on the line
        std::uint64_t count;
    };

    // Branches of a probe: two for a decision, one for a case label.
    static unsigned branchesOf(const CoverageProbe& probe);
    void begin(std::span<const CoverageFunction* const> functions);
    // Adds the items of one function, keeping the pending items in line order.
    void add(const CoverageFunction& function);
    // Folds the pending items of the lines before `limit` into line_ and
    // branches_, one line per call; false when there is none.
    bool nextLine(std::uint64_t limit);
    // Folds a function that shares no line with another as its probes are
    // walked, without holding them.
    template <typename OnLine> void foldAlone(const CoverageFunction& function, OnLine& onLine);
    // Counts line_ and branches_ into the totals.
    void countLine();

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
        if (i == order_.size()) break;
        const bool alone =
            next_ == pending_.size() &&
            (i + 1 == order_.size() || firstLine(*order_[i + 1]) > lastLine(*order_[i]));
        if (alone)
            foldAlone(*order_[i], onLine);
        else
            add(*order_[i]);
    }
    return totals_;
}

template <typename OnLine>
void LineFold::foldAlone(const CoverageFunction& function, OnLine& onLine) {
    bool open = false;
    for (const auto& [probeLine, probe] : function.probes) {
        if (!givesLine(*probe)) continue;
        if (!open || probeLine != line_.number) {
            if (open) {
                countLine();
                onLine(std::as_const(line_), std::span<const std::uint64_t>(branches_));
            }
            line_ = ExportLine{probeLine, 0};
            branches_.clear();
            open = true;
        }
        line_.hits = std::max(line_.hits, lineCount(*probe));
        const unsigned branches = branchesOf(*probe);
        if (branches >= 1) branches_.push_back(probe->counters[0]);
        if (branches == 2) branches_.push_back(probe->counters[1]);
    }
    if (open) {
        countLine();
        onLine(std::as_const(line_), std::span<const std::uint64_t>(branches_));
    }
}

inline unsigned LineFold::branchesOf(const CoverageProbe& probe) {
    if (probe.outcomeClass == kDecisionClass) return 2;
    const bool caseLabel =
        probe.type == kCase || probe.type == kDefault || probe.type == kMissingDefault;
    return caseLabel ? 1 : 0;
}

inline void LineFold::countLine() {
    ++totals_.linesValid;
    if (line_.hits != 0) ++totals_.linesCovered;
    totals_.branchesValid += branches_.size();
    for (const std::uint64_t taken : branches_)
        if (taken != 0) ++totals_.branchesCovered;
}

} // namespace kiv
