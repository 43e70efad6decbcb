#include "evaluation/coverage_views.hpp"

#include <array>
#include <string_view>

#include "diagnostics/raise.hpp"

namespace kiv {

namespace {

constexpr std::array<std::string_view, 5> kRequestedViews = {
    "As instrumented", "Reduced to MC/DC coverage", "Reduced to condition coverage",
    "Reduced to decision coverage", "Reduced to function coverage"};

constexpr std::array<std::string_view, 5> kShownWords = {"function", "decision", "condition",
                                                         "MC/DC", "multiCondition"};

bool contains(std::string_view text, std::string_view part) {
    return text.find(part) != std::string_view::npos;
}

bool listedAsPart(const std::vector<std::string_view>& listed, std::string_view word) {
    for (std::string_view entry : listed)
        if (contains(entry, word)) return true;
    return false;
}

} // namespace

std::string resolveRequestedView(const TextRuns& inputViews) {
    std::vector<std::string_view> listed;
    inputViews.forEach([&listed](const std::string& view) {
        // A second name already settles the outcome.
        if (listed.size() > 1) return;
        for (std::string_view name : kRequestedViews) {
            if (contains(view, name) && !listedAsPart(listed, name)) {
                listed.push_back(name);
                return;
            }
        }
    });
    if (listed.size() != 1) raise(Unit::CoverageViews, kDifferentViews);
    return std::string(listed.front());
}

std::string combineShownViews(const TextRuns& inputViews) {
    std::vector<std::string_view> listed;
    inputViews.forEach([&listed](const std::string& view) {
        for (std::string_view word : kShownWords) {
            if (!contains(view, word)) continue;
            if (word == "multiCondition") word = "multicondition";
            if (!listedAsPart(listed, word)) listed.push_back(word);
        }
    });
    if (listed.empty()) return {};
    if (listed.size() == 1) return std::string(listed.front());
    std::string text = "mixed ";
    for (std::string_view word : listed) {
        text += word;
        text += '/';
    }
    text.pop_back();
    return text;
}

} // namespace kiv
