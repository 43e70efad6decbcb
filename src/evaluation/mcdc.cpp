#include "evaluation/mcdc.hpp"

#include <charconv>
#include <functional>

#include "evaluation/saturating.hpp"
#include "model/probe_type.hpp"

namespace kiv {

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Reads the decimal digits at pos (at least one), clamped to 32 bits.
bool readNumber(std::string_view text, std::size_t& pos, std::uint32_t& value) {
    const std::size_t start = pos;
    std::uint64_t number = 0;
    while (pos < text.size() && isDigit(text[pos])) {
        number = number * 10 + static_cast<std::uint64_t>(text[pos] - '0');
        if (number > kCountLimit) number = static_cast<std::uint64_t>(kCountLimit) + 1;
        ++pos;
    }
    value = number > kCountLimit ? kCountLimit : static_cast<std::uint32_t>(number);
    return pos > start;
}

// Skips spaces; true when at least one was skipped.
bool skipSpaces(std::string_view text, std::size_t& pos) {
    const std::size_t start = pos;
    while (pos < text.size() && text[pos] == ' ')
        ++pos;
    return pos > start;
}

void appendNumber(std::string& text, std::uint32_t value) {
    char digits[16];
    const auto result = std::to_chars(digits, digits + sizeof digits, value);
    text.append(digits, result.ptr);
}

// Calls f(group text) for every ";"-separated part of the description.
template <typename F> void forEachGroupText(std::string_view description, F&& f) {
    for (;;) {
        const std::size_t end = description.find(';');
        f(description.substr(0, end));
        if (end == std::string_view::npos) return;
        description.remove_prefix(end + 1);
    }
}

} // namespace

bool parseMcdcGroup(std::string_view text, McdcGroup& group) {
    group.pairs.clear();
    std::size_t pos = 0;
    skipSpaces(text, pos);
    if (!readNumber(text, pos, group.condition)) return false;
    if (pos >= text.size() || text[pos] != ':') return false;
    ++pos;
    for (;;) {
        McdcPair pair;
        skipSpaces(text, pos);
        if (!readNumber(text, pos, pair.first)) return false;
        if (!skipSpaces(text, pos)) return false;
        if (pos >= text.size() || (text[pos] != '+' && text[pos] != '-')) return false;
        ++pos;
        if (!skipSpaces(text, pos)) return false;
        if (!readNumber(text, pos, pair.second)) return false;
        skipSpaces(text, pos);
        group.pairs.push_back(pair);
        if (pos == text.size()) return true;
        if (text[pos] != ',') return false;
        ++pos;
    }
}

std::vector<McdcGroup> parseMcdcDescription(std::string_view description) {
    std::vector<McdcGroup> groups;
    McdcGroup group;
    forEachGroupText(description, [&](std::string_view text) {
        if (parseMcdcGroup(text, group)) groups.push_back(group);
    });
    return groups;
}

std::uint32_t leadingEvaluationNumber(std::string_view description) {
    std::size_t pos = 0;
    std::uint32_t number = 0;
    readNumber(description, pos, number);
    return number;
}

std::size_t McdcEvaluator::KeyHash::operator()(const Key& key) const {
    std::size_t hash = std::hash<std::string_view>{}(key.context);
    const std::uint64_t numbers =
        (static_cast<std::uint64_t>(key.line) << 32) | key.evaluationNumber;
    hash ^= std::hash<std::uint64_t>{}(numbers) + 0x9e3779b97f4a7c15ULL + (hash << 6) + (hash >> 2);
    return hash;
}

void McdcEvaluator::indexCoveredConditions(const CoverageFunction& function) {
    covered_.clear();
    for (const auto& [line, probe] : function.probes) {
        const bool coveredOutcome = (probe->type == kMultiCondT && probe->counters[0] != 0) ||
                                    (probe->type == kMultiCondF && probe->counters[1] != 0);
        if (coveredOutcome)
            covered_.insert(Key{line, leadingEvaluationNumber(probe->description), probe->context});
    }
}

bool McdcEvaluator::isCovered(std::uint32_t line, std::string_view context,
                              std::uint32_t number) const {
    return covered_.count(Key{line, number, context}) != 0;
}

void McdcEvaluator::evaluate(CoverageFunction& function) {
    bool indexed = false;
    for (auto& entry : function.probes) {
        const std::uint32_t line = entry.line();
        CoverageProbe* probe = entry.probe.get();
        if (probe->type != kMcdc) continue;
        if (!indexed) {
            indexCoveredConditions(function);
            indexed = true;
        }
        ConditionTexts conditions;
        forEachGroupText(probe->description, [&](std::string_view text) {
            if (!parseMcdcGroup(text, group_)) return;
            std::string condition = "MC/DC (cond ";
            appendNumber(condition, group_.condition);
            condition += ": ";
            bool firstPair = true;
            for (const McdcPair& pair : group_.pairs) {
                if (!firstPair) condition += ", ";
                firstPair = false;
                const bool pairCovered = isCovered(line, probe->context, pair.first) &&
                                         isCovered(line, probe->context, pair.second);
                appendNumber(condition, pair.first);
                condition += pairCovered ? " + " : " - ";
                appendNumber(condition, pair.second);
            }
            condition += ')';
            conditions.push_back(condition);
        });
        probe->setConditions(std::move(conditions));
    }
}

} // namespace kiv
