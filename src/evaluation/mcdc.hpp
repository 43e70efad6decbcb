#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "model/coverage_function.hpp"

namespace kiv {

// One independence pair of a condition: two evaluation numbers.
struct McdcPair {
    std::uint32_t first = 0;
    std::uint32_t second = 0;
};

// One condition of an mcdc description with its independence pairs.
struct McdcGroup {
    std::uint32_t condition = 0;
    std::vector<McdcPair> pairs;
};

// Reads one group, "cond: A m B, A m B", into group (its pair storage is
// reused); false when the text does not have that form.
bool parseMcdcGroup(std::string_view text, McdcGroup& group);

// Reads the groups of an mcdc description, "1: 1 - 3, 2 + 4; 2: 1 - 2".
// Groups are separated by ";"; a group that does not have the form
// "cond: A m B, A m B" (spaces allowed around the pairs, m "+" or "-") is
// left out. Numbers beyond the unsigned 32-bit range are clamped.
std::vector<McdcGroup> parseMcdcDescription(std::string_view description);

// The evaluation number in front of a multi-condition probe's description:
// its leading decimal digits, 0 when there are none, clamped to 32 bits.
std::uint32_t leadingEvaluationNumber(std::string_view description);

// Evaluates the mcdc probes of one function at a time. A pair counts as
// covered when the function holds, on the mcdc probe's line and with its
// description context, a covered multi-condition probe for each of the two
// evaluation numbers. Reuse one evaluator across functions to keep its
// lookup table's storage.
class McdcEvaluator {
  public:
    // Fills the condition texts of every mcdc probe of the function, one
    // "MC/DC (cond N: A c B, ...)" per parsable group. A multi-condition
    // probe's evaluation number is the one in front of its description.
    void evaluate(CoverageFunction& function);

  private:
    struct Key {
        std::uint32_t line;
        std::uint32_t evaluationNumber;
        std::string_view context;
        bool operator==(const Key&) const = default;
    };
    struct KeyHash {
        std::size_t operator()(const Key& key) const;
    };

    void indexCoveredConditions(const CoverageFunction& function);
    bool isCovered(std::uint32_t line, std::string_view context, std::uint32_t number) const;

    std::unordered_set<Key, KeyHash> covered_;
    McdcGroup group_; // parse buffer, reused for every group
};

} // namespace kiv
