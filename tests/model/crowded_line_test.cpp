#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "model_test_support.hpp"

namespace kiv {
namespace {

using test::OneFunction;
using test::P;

// Probes of a line with many probes are matched through hashed groups, those
// of any other line by walking them. Every scenario below runs twice: as
// written, and with 40 further probes in front of the first probe of each
// line after line 1 that never match anything (another nesting; conditions,
// so that they leave the context alone). Both runs must merge alike.
struct Scenario {
    std::string what;
    std::vector<P> first; // announced first, in this order
    std::vector<P> later; // then these
};

constexpr std::uint32_t kPaddingNesting = 99;

// What merging left of the probes that are not padding, in map order.
struct Outcome {
    std::vector<std::string> probes;
    std::string available;
    bool operator==(const Outcome&) const = default;
};

Outcome run(const Scenario& s, bool crowded) {
    OneFunction f;
    std::vector<std::uint32_t> padded;
    for (const P& p : s.first) {
        const bool newLine = std::find(padded.begin(), padded.end(), p.line) == padded.end();
        if (crowded && p.line != 1 && newLine) {
            padded.push_back(p.line);
            for (int i = 0; i < 40; ++i)
                f.add(P{
                    .type = kSubCond, .line = p.line, .descr = "pad", .nesting = kPaddingNesting});
        }
        f.add(p);
    }
    for (const P& p : s.later)
        f.add(p);

    Outcome outcome;
    for (const auto& [line, probe] : f.fn().probes) {
        if (probe->nesting == kPaddingNesting) continue;
        outcome.probes.push_back(
            std::to_string(line) + " " + probe->description + " [" + std::string(probe->context) +
            "] " + std::to_string(probe->counters[0]) + "/" + std::to_string(probe->mergeCount));
    }
    outcome.available = f.fn().statementAvailable;
    return outcome;
}

// A first probe that leaves the context empty: the conditions after it have
// none. A later function probe merges into it.
P start() {
    return P{.type = kSubCond, .line = 1, .descr = "start"};
}
P fn(std::uint32_t c1 = 0) {
    return P{.type = kFunction, .line = 1, .descr = "f()", .c1 = c1};
}
P decision(std::uint32_t sc, std::uint32_t c1 = 0) {
    return P{.type = kIf, .line = 4, .descr = "if (x)", .c1 = c1, .sc = sc};
}
P condition(std::uint32_t sc, std::uint32_t c1 = 0) {
    return P{.type = kMultiCondT, .line = 4, .descr = "1: T", .c1 = c1, .sc = sc};
}

TEST(CrowdedLine, MergesLikeAFewProbes) {
    const std::vector<Scenario> scenarios = {
        {"one equal", {fn(), decision(2)}, {fn(1), decision(2, 1)}},
        {"one, other sc_count", {fn(), decision(2)}, {fn(1), decision(3, 1)}},
        {"several equal: the last", {fn(), decision(2), decision(2)}, {fn(1), decision(2, 1)}},
        {"mixed: first with the value",
         {fn(), decision(1), decision(2), decision(1), decision(2)},
         {fn(1), decision(2, 1)}},
        {"mixed: none with the value", {fn(), decision(1), decision(2)}, {fn(1), decision(3, 1)}},
        {"no candidate", {fn(), decision(1)}, {fn(1), condition(1, 1)}},
        {"missing before",
         {fn(), P{.line = 2, .descr = "a"}, decision(1)},
         {fn(1), decision(1, 1)}},
        // Conditions before the decision have no context, those after it
        // have the decision's.
        {"context: distinct values, the one without",
         {start(), condition(1), decision(0), condition(2)},
         {fn(1), decision(0, 1), condition(1, 1)}},
        {"context: distinct values, the one with",
         {start(), condition(1), decision(0), condition(2)},
         {fn(1), decision(0, 1), condition(2, 1)}},
        {"context: one value, the last",
         {start(), condition(1), decision(0), condition(1)},
         {fn(1), decision(0, 1), condition(1, 1)}},
        {"context: first with the value from either side",
         {start(), condition(2), condition(1), decision(0), condition(1)},
         {fn(1), decision(0, 1), condition(1, 1)}},
        {"context: none with the value",
         {start(), condition(1), decision(0), condition(2)},
         {fn(1), decision(0, 1), condition(3, 1)}},
        {"context: only with context",
         {start(), decision(0), condition(1), condition(2)},
         {fn(1), decision(0, 1), condition(2, 1)}},
        {"ternaries by number",
         {fn(), P{.type = kTernary, .line = 4, .descr = "?:", .seq = 0},
          P{.type = kTernary, .line = 4, .descr = "?:", .seq = 1}},
         {fn(1), P{.type = kTernary, .line = 4, .descr = "?:", .c1 = 5, .seq = 1}}},
        {"mcdc verdicts",
         {fn(), P{.type = kMcdc, .line = 4, .descr = "1: 1 - 2"}},
         {fn(1), P{.type = kMcdc, .line = 4, .descr = "1: 1 + 2", .c1 = 3}}},
    };
    for (const Scenario& s : scenarios) {
        SCOPED_TRACE(s.what);
        const Outcome plain = run(s, false);
        const Outcome crowded = run(s, true);
        EXPECT_EQ(crowded.probes, plain.probes);
        EXPECT_EQ(crowded.available, plain.available);
    }
}

// The outcomes themselves, so that a fault shared by both ways of matching
// shows too.
TEST(CrowdedLine, ContextRulesOnACrowdedLine) {
    const Scenario s{"first with the value from either side",
                     {start(), condition(2), condition(1), decision(0), condition(1)},
                     {fn(1), decision(0, 1), condition(1, 1)}};
    const Outcome crowded = run(s, true);
    EXPECT_EQ(crowded.probes,
              (std::vector<std::string>{"1 start [] 1/1", "4 1: T [] 0/0", "4 1: T [] 1/1",
                                        "4 if (x) [] 1/1", "4 1: T [if (x)] 0/0"}));
    EXPECT_EQ(crowded.available, "yes");
}

} // namespace
} // namespace kiv
