#include "export/line_fold.hpp"

#include <algorithm>

#include "evaluation/statement_analysis.hpp"
#include "model/coverage_function.hpp"
#include "model/probe_type.hpp"

namespace kiv {

namespace {

constexpr std::uint32_t kDecision = 4; // outcome class: true and false counters

std::uint64_t addSaturating(std::uint64_t a, std::uint64_t b) {
    return a > UINT64_MAX - b ? UINT64_MAX : a + b;
}

// Branches of a probe: two for a decision, one for a case label.
unsigned branchesOf(const CoverageProbe& probe) {
    if (probe.outcomeClass == kDecision) return 2;
    const bool caseLabel =
        probe.type == kCase || probe.type == kDefault || probe.type == kMissingDefault;
    return caseLabel ? 1 : 0;
}

} // namespace

void ExportTotals::add(const ExportTotals& other) {
    linesValid = addSaturating(linesValid, other.linesValid);
    linesCovered = addSaturating(linesCovered, other.linesCovered);
    branchesValid = addSaturating(branchesValid, other.branchesValid);
    branchesCovered = addSaturating(branchesCovered, other.branchesCovered);
}

bool givesLine(const CoverageProbe& probe) {
    return probe.outcomeClass == kDecision || isStatementProbe(probe);
}

std::uint64_t lineCount(const CoverageProbe& probe) {
    if (probe.outcomeClass == 2) return probe.counters[0];
    return std::uint64_t{probe.counters[0]} + probe.counters[1];
}

void LineFold::clear() {
    items_.clear();
    functions_ = 0;
}

void LineFold::addFunction(const CoverageFunction& function) {
    const std::uint32_t self = functions_++;
    std::uint32_t line = 0;
    std::uint32_t next = 0; // the number of the function's next branch on `line`
    for (const auto& [probeLine, probe] : function.probes) {
        if (!givesLine(*probe)) continue;
        items_.push_back({probeLine, self, kLineCount, lineCount(*probe)});
        const unsigned branches = branchesOf(*probe);
        if (branches == 0) continue;
        if (probeLine != line) {
            line = probeLine;
            next = 0;
        }
        items_.push_back({probeLine, self, next++, probe->counters[0]});
        if (branches == 2) items_.push_back({probeLine, self, next++, probe->counters[1]});
    }
}

void LineFold::finish() {
    lines_.clear();
    branches_.clear();
    totals_ = {};
    const auto byLine = [](const Item& a, const Item& b) { return a.line < b.line; };
    // One function's items come in line order already; several are merged
    // keeping each line's items in the order they were added.
    if (!std::is_sorted(items_.begin(), items_.end(), byLine))
        std::stable_sort(items_.begin(), items_.end(), byLine);
    for (auto item = items_.begin(); item != items_.end();) {
        ExportLine line;
        line.number = item->line;
        line.firstBranch = static_cast<std::uint32_t>(branches_.size());
        for (; item != items_.end() && item->line == line.number; ++item) {
            if (item->branch == kLineCount) {
                line.hits = std::max(line.hits, item->count);
                continue;
            }
            if (item->branch >= line.branchCount) {
                line.branchCount = item->branch + 1;
                branches_.resize(std::size_t{line.firstBranch} + line.branchCount, 0);
            }
            std::uint64_t& taken = branches_[std::size_t{line.firstBranch} + item->branch];
            taken = addSaturating(taken, item->count);
        }
        lines_.push_back(line);
        if (line.hits != 0) ++totals_.linesCovered;
    }
    totals_.linesValid = lines_.size();
    totals_.branchesValid = branches_.size();
    totals_.branchesCovered = static_cast<std::uint64_t>(
        std::count_if(branches_.begin(), branches_.end(), [](std::uint64_t b) { return b != 0; }));
}

} // namespace kiv
