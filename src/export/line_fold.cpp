#include "export/line_fold.hpp"

#include <iterator>

#include "evaluation/statement_analysis.hpp"
#include "model/coverage_function.hpp"
#include "model/probe_type.hpp"

namespace kiv {

namespace {

std::uint64_t addSaturating(std::uint64_t a, std::uint64_t b) {
    return a > UINT64_MAX - b ? UINT64_MAX : a + b;
}

} // namespace

void ExportTotals::add(const ExportTotals& other) {
    linesValid = addSaturating(linesValid, other.linesValid);
    linesCovered = addSaturating(linesCovered, other.linesCovered);
    branchesValid = addSaturating(branchesValid, other.branchesValid);
    branchesCovered = addSaturating(branchesCovered, other.branchesCovered);
}

std::uint32_t LineFold::firstLine(const CoverageFunction& function) {
    return function.probes.begin()->line();
}

std::uint32_t LineFold::lastLine(const CoverageFunction& function) {
    return std::prev(function.probes.end())->line();
}

void LineFold::begin(std::span<const CoverageFunction* const> functions) {
    order_.clear();
    for (const CoverageFunction* function : functions)
        if (!function->probes.empty()) order_.push_back(function);
    const auto byFirstLine = [](const CoverageFunction* a, const CoverageFunction* b) {
        return firstLine(*a) < firstLine(*b);
    };
    // The functions of a file mostly come in this order already.
    if (!std::is_sorted(order_.begin(), order_.end(), byFirstLine))
        std::stable_sort(order_.begin(), order_.end(), byFirstLine);
    pending_.clear();
    next_ = 0;
    totals_ = {};
}

bool LineFold::apart(std::span<const CoverageFunction* const> functions) {
    begin(functions);
    for (std::size_t i = 1; i < order_.size(); ++i)
        if (firstLine(*order_[i]) <= lastLine(*order_[i - 1])) return false;
    return true;
}

void LineFold::add(const CoverageFunction& function) {
    // What was folded goes; what is left stays in line order.
    pending_.erase(pending_.begin(), pending_.begin() + static_cast<std::ptrdiff_t>(next_));
    next_ = 0;
    const auto middle = static_cast<std::ptrdiff_t>(pending_.size());
    std::uint32_t line = 0;
    std::uint32_t next = 0; // the number of the function's next branch on `line`
    for (const auto& [probeLine, probe] : function.probes) {
        if (!givesLine(*probe)) continue;
        pending_.push_back({probeLine, kLineCount, lineCount(*probe)});
        const unsigned branches = branchesOf(*probe);
        if (branches == 0) continue;
        if (probeLine != line) {
            line = probeLine;
            next = 0;
        }
        pending_.push_back({probeLine, next++, probe->counters[0]});
        if (branches == 2) pending_.push_back({probeLine, next++, probe->counters[1]});
    }
    if (middle != 0)
        std::inplace_merge(pending_.begin(), pending_.begin() + middle, pending_.end(),
                           [](const Item& a, const Item& b) { return a.line < b.line; });
}

bool LineFold::nextLine(std::uint64_t limit) {
    if (next_ == pending_.size() || pending_[next_].line >= limit) return false;
    line_ = ExportLine{pending_[next_].line, 0};
    branches_.clear();
    for (; next_ < pending_.size() && pending_[next_].line == line_.number; ++next_) {
        const Item& item = pending_[next_];
        if (item.branch == kLineCount) {
            line_.hits = std::max(line_.hits, item.count);
            continue;
        }
        if (item.branch >= branches_.size()) branches_.resize(std::size_t{item.branch} + 1, 0);
        branches_[item.branch] = addSaturating(branches_[item.branch], item.count);
    }
    countLine();
    return true;
}

} // namespace kiv
