#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "model_test_support.hpp"

namespace kiv {
namespace {

using test::P;
using test::record;

std::vector<std::uint32_t> entries(const RunList& list) {
    std::vector<std::uint32_t> values;
    list.forEach([&values](std::uint32_t value) { values.push_back(value); });
    return values;
}

// One occurrence as the reader announces it.
struct Occurrence {
    std::uint32_t sourceLine = 5;
    std::uint32_t directiveLine = 0;
    std::uint32_t scCount = 0;
};

ProbeRecord recordOf(const Occurrence& o) {
    ProbeRecord r =
        record(P{.type = kReturn, .line = 5, .descr = "return", .c1 = 1, .sc = o.scCount});
    r.sourceLine = o.sourceLine;
    r.directiveLine = o.directiveLine;
    return r;
}

struct ListCase {
    const char* name;
    std::vector<Occurrence> occurrences; // the first builds the probe
    bool sideRecord;
    std::vector<std::uint32_t> sourceLines, directiveLines, scCounts;
};

// The lists read the same whether a probe stores them or leaves them implicit,
// and whichever occurrence first differs from the common case.
TEST(ProbeSideRecord, ListsHoldEveryOccurrenceWhereverTheyAreKept) {
    const ListCase cases[] = {
        {"all like the first", {{}, {}, {}}, false, {5, 5, 5}, {0, 0, 0}, {0, 0, 0}},
        {"sc_count from the start", {{.scCount = 2}, {}}, true, {5, 5}, {0, 0}, {2, 0}},
        {"sc_count later",
         {{}, {}, {.scCount = 4}, {}},
         true,
         {5, 5, 5, 5},
         {0, 0, 0, 0},
         {0, 0, 4, 0}},
        {"source line moved", {{}, {.sourceLine = 9}}, true, {5, 9}, {0, 0}, {0, 0}},
        {"source line moved first", {{.sourceLine = 2}, {}}, true, {2, 5}, {0, 0}, {0, 0}},
        {"directive line later",
         {{}, {}, {.directiveLine = 3}},
         true,
         {5, 5, 5},
         {0, 0, 3},
         {0, 0, 0}},
    };
    for (const ListCase& c : cases) {
        CoverageProbe probe(recordOf(c.occurrences.front()));
        for (std::size_t i = 1; i < c.occurrences.size(); ++i)
            probe.merge(recordOf(c.occurrences[i]));
        EXPECT_EQ(probe.hasSideRecord(), c.sideRecord) << c.name;
        EXPECT_EQ(probe.occurrences(), c.occurrences.size()) << c.name;
        EXPECT_EQ(probe.mergeCount, c.occurrences.size() - 1) << c.name;
        EXPECT_EQ(entries(probe.sourceLines()), c.sourceLines) << c.name;
        EXPECT_EQ(entries(probe.directiveLines()), c.directiveLines) << c.name;
        EXPECT_EQ(entries(probe.scCounts()), c.scCounts) << c.name;
        EXPECT_EQ(probe.largestSourceLine(), std::ranges::max(c.sourceLines)) << c.name;
        EXPECT_EQ(probe.smallestDirectiveLine(), std::ranges::min(c.directiveLines)) << c.name;
        EXPECT_EQ(probe.firstScCount(), c.scCounts.front()) << c.name;
    }
}

// Merging a probe that holds several occurrences adds all of them, though
// the merge counts once.
TEST(ProbeSideRecord, MergingAProbeAddsAllItsOccurrences) {
    for (const bool otherStored : {false, true}) {
        for (const bool targetStored : {false, true}) {
            CoverageProbe other(recordOf({}));
            other.merge(recordOf({.scCount = otherStored ? 7U : 0U}));
            CoverageProbe target(recordOf({.scCount = targetStored ? 1U : 0U}));
            target.merge(other);
            const std::string name = std::to_string(otherStored) + std::to_string(targetStored);
            EXPECT_EQ(target.mergeCount, 1U) << name;
            EXPECT_EQ(target.occurrences(), 3U) << name;
            EXPECT_EQ(entries(target.sourceLines()), (std::vector<std::uint32_t>{5, 5, 5})) << name;
            EXPECT_EQ(
                entries(target.scCounts()),
                (std::vector<std::uint32_t>{targetStored ? 1U : 0U, 0, otherStored ? 7U : 0U}))
                << name;
            EXPECT_EQ(target.counters[0], 3U) << name;
        }
    }
    // A single-occurrence probe like the target keeps the lists implicit.
    CoverageProbe target(recordOf({}));
    target.merge(CoverageProbe(recordOf({})));
    EXPECT_FALSE(target.hasSideRecord());
    EXPECT_EQ(target.occurrences(), 2U);
}

// The merge count wraps around after 2^32 merges; the lists must not.
TEST(ProbeSideRecord, ListsOutgrowTheMergeCount) {
    CoverageProbe probe(recordOf({}));
    probe.mergeCount = UINT32_MAX - 1; // as after that many merges
    probe.merge(recordOf({}));
    EXPECT_FALSE(probe.hasSideRecord());
    EXPECT_EQ(probe.occurrences(), std::uint64_t{1} << 32);
    probe.merge(recordOf({}));
    EXPECT_TRUE(probe.hasSideRecord());
    EXPECT_EQ(probe.mergeCount, 0U);
    EXPECT_EQ(probe.occurrences(), (std::uint64_t{1} << 32) + 1);
    EXPECT_EQ(probe.sourceLines().size(), (std::uint64_t{1} << 32) + 1);
    EXPECT_EQ(probe.scCounts().size(), (std::uint64_t{1} << 32) + 1);
    EXPECT_EQ(probe.largestSourceLine(), 5U);
}

// The rarely used fields cost nothing until set, and setting one keeps the
// lists written so far.
TEST(ProbeSideRecord, RareFieldsMakeTheRecordOnlyWhenSet) {
    CoverageFile file{"c:\\src\\a.h", kSourceFile, "C:\\src\\a.h", true};
    CoverageProbe probe(recordOf({}));
    probe.merge(recordOf({}));
    probe.setOwner(nullptr);
    probe.setSequence(0);
    probe.setConditions({});
    EXPECT_FALSE(probe.hasSideRecord());
    EXPECT_EQ(probe.owner(), nullptr);
    EXPECT_EQ(probe.sequence(), 0U);
    EXPECT_TRUE(probe.conditions().empty());

    probe.setOwner(&file);
    probe.setSequence(3);
    probe.setConditions({"MC/DC (cond 1: 1 + 2)"});
    EXPECT_TRUE(probe.hasSideRecord());
    EXPECT_EQ(probe.owner(), &file);
    EXPECT_EQ(probe.sequence(), 3U);
    EXPECT_EQ(probe.conditions(), (std::vector<std::string>{"MC/DC (cond 1: 1 + 2)"}));
    EXPECT_EQ(entries(probe.sourceLines()), (std::vector<std::uint32_t>{5, 5}));
    EXPECT_EQ(entries(probe.directiveLines()), (std::vector<std::uint32_t>{0, 0}));

    // A ternary number and an owner from the reader make it at once.
    ProbeRecord ternary = recordOf({});
    ternary.sequence = 2;
    EXPECT_EQ(CoverageProbe(std::move(ternary)).sequence(), 2U);
    ProbeRecord directive = recordOf({});
    directive.owner = &file;
    EXPECT_EQ(CoverageProbe(std::move(directive)).owner(), &file);
}

// Lists set empty stay empty: the line queries then fail as on any empty list.
TEST(ProbeSideRecord, EmptyListsAreKeptEmpty) {
    CoverageProbe probe(recordOf({}));
    probe.setSourceLines(RunList());
    probe.setDirectiveLines(RunList());
    probe.setScCounts(RunList());
    EXPECT_THROW((void)probe.largestSourceLine(), std::out_of_range);
    EXPECT_THROW((void)probe.smallestDirectiveLine(), std::out_of_range);
    EXPECT_THROW((void)probe.firstScCount(), std::out_of_range);
    EXPECT_EQ(probe.occurrences(), 0U);
}

} // namespace
} // namespace kiv
