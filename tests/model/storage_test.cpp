#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "model/condition_texts.hpp"
#include "model/large_memory.hpp"
#include "model/probe_map.hpp"
#include "model/run_list.hpp"
#include "model/shared_text.hpp"
#include "model/text_runs.hpp"

namespace kiv {
namespace {

using Runs = std::vector<std::pair<std::uint32_t, std::uint64_t>>;

Runs runsOf(const RunList& list) {
    Runs runs;
    list.forEachRun(
        [&](std::uint32_t value, std::uint64_t count) { runs.emplace_back(value, count); });
    return runs;
}

constexpr std::uint64_t kPackedLimit = (std::uint64_t{1} << 31) - 1;

// A list of one run lives in the object, longer ones on the heap; both must
// read alike.
TEST(RunList, AppendsMergeEqualNeighbours) {
    struct Case {
        std::string what;
        Runs appended; // (value, count) handed to append
        Runs expected;
        std::uint32_t max, min;
    };
    const std::vector<Case> cases = {
        {"one entry", {{7, 1}}, {{7, 1}}, 7, 7},
        {"equal values stay one run", {{7, 1}, {7, 1}, {7, 3}}, {{7, 5}}, 7, 7},
        {"a second value", {{7, 2}, {3, 1}}, {{7, 2}, {3, 1}}, 7, 3},
        {"back to the first", {{7, 1}, {3, 1}, {7, 1}}, {{7, 1}, {3, 1}, {7, 1}}, 7, 3},
        {"equal after a second value", {{7, 1}, {3, 1}, {3, 4}}, {{7, 1}, {3, 5}}, 7, 3},
        {"largest values", {{4294967295U, 1}, {0, 1}}, {{4294967295U, 1}, {0, 1}}, 4294967295U, 0},
        {"zero counts change nothing", {{7, 0}, {5, 1}, {6, 0}}, {{5, 1}}, 5, 5},
        {"the longest packed run", {{9, kPackedLimit}}, {{9, kPackedLimit}}, 9, 9},
        {"one past it", {{9, kPackedLimit}, {9, 1}}, {{9, kPackedLimit + 1}}, 9, 9},
        {"a run longer than 32 bits",
         {{9, 1}, {9, std::uint64_t{1} << 33}},
         {{9, (std::uint64_t{1} << 33) + 1}},
         9,
         9},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        RunList list;
        std::uint64_t size = 0;
        for (const auto& [value, count] : c.appended) {
            list.append(value, count);
            size += count;
        }
        EXPECT_EQ(runsOf(list), c.expected);
        EXPECT_EQ(list.size(), size);
        EXPECT_EQ(list.front(), c.expected.front().first);
        EXPECT_EQ(list.max(), c.max);
        EXPECT_EQ(list.min(), c.min);
        EXPECT_EQ(list.allEqual(), c.expected.size() == 1);

        const RunList copy(list);
        EXPECT_EQ(runsOf(copy), c.expected);
        EXPECT_TRUE(copy == list);
        RunList moved(std::move(list));
        EXPECT_EQ(runsOf(moved), c.expected);
        EXPECT_TRUE(list.empty()); // NOLINT(bugprone-use-after-move): moved-from lists are empty
    }
}

TEST(RunList, EmptyListsAndEquality) {
    RunList empty;
    EXPECT_TRUE(empty.empty());
    EXPECT_EQ(empty.size(), 0U);
    EXPECT_TRUE(empty.allEqual());
    EXPECT_THROW((void)empty.front(), std::out_of_range);
    EXPECT_THROW((void)empty.max(), std::out_of_range);
    EXPECT_THROW((void)empty.min(), std::out_of_range);

    // Lists compare by their entries.
    RunList packed;
    packed.append(4, 3);
    RunList same(4);
    same.append(4, 2);
    EXPECT_TRUE(packed == same);
    same.append(4);
    EXPECT_FALSE(packed == same);
    RunList other(4);
    other.append(5);
    other.append(4);
    RunList runs(4);
    runs.append(5, 2);
    EXPECT_FALSE(other == runs);
    RunList again(4);
    again.append(5);
    again.append(4);
    EXPECT_TRUE(other == again);
}

TEST(RunList, AppendsItselfAndAssigns) {
    RunList list(1);
    list.append(2);
    list.appendAll(list);
    EXPECT_EQ(runsOf(list), (Runs{{1, 1}, {2, 1}, {1, 1}, {2, 1}}));
    RunList target(8);
    target = list;
    EXPECT_EQ(runsOf(target), runsOf(list));
    target = RunList(3);
    EXPECT_EQ(runsOf(target), (Runs{{3, 1}}));
    const RunList& itself = target;
    target = itself;
    EXPECT_EQ(runsOf(target), (Runs{{3, 1}}));
}

TEST(SharedText, CopiesShareOneBlock) {
    SharedText text("if (a > b)");
    SharedText copy = text;
    EXPECT_TRUE(copy.sameBlock(text));
    EXPECT_EQ(copy, "if (a > b)");
    text = "else";
    EXPECT_EQ(copy, "if (a > b)"); // the block lives on in the copy
    EXPECT_EQ(text, "else");
    SharedText moved = std::move(copy);
    EXPECT_EQ(moved.view(), "if (a > b)");
    EXPECT_TRUE(copy.empty()); // NOLINT(bugprone-use-after-move)
    EXPECT_EQ(SharedText(""), SharedText());
    EXPECT_EQ(SharedText(std::string("a\0b", 3)).size(), 3U);
    EXPECT_EQ(std::string("[") + moved + "]", "[if (a > b)]");
}

TEST(TextPool, KeepsEachTextOnce) {
    TextPool pool;
    const SharedText a = pool.intern("break");
    const SharedText b = pool.intern(std::string("brea") + "k");
    EXPECT_TRUE(a.sameBlock(b));
    EXPECT_TRUE(pool.intern("").empty());
    // Many texts: the table grows, past the size at which it is taken as
    // large memory, and every text is still found once.
    constexpr int kTexts = 140000;
    std::vector<SharedText> kept;
    for (int i = 0; i < kTexts; ++i)
        kept.push_back(pool.intern("text " + std::to_string(i)));
    for (int i = 0; i < kTexts; ++i) {
        const SharedText again = pool.intern("text " + std::to_string(i));
        ASSERT_TRUE(again.sameBlock(kept[static_cast<std::size_t>(i)])) << i;
        ASSERT_EQ(again.view(), "text " + std::to_string(i));
    }
    EXPECT_EQ(pool.size(), std::size_t{kTexts} + 1);
    EXPECT_TRUE(pool.intern("break").sameBlock(a));
    // Without its table, the pool still finds every text it kept.
    pool.forgetIndex();
    EXPECT_TRUE(pool.intern("text 139999").sameBlock(kept.back()));
    EXPECT_TRUE(pool.intern("break").sameBlock(a));
    EXPECT_EQ(pool.size(), std::size_t{kTexts} + 1);
}

// A text said by every report is kept once however many reports say it;
// every entry reads back in order.
TEST(TextRuns, KeepsEqualNeighboursOnce) {
    const struct {
        std::vector<std::string> pushed;
        std::size_t runs;
    } cases[] = {
        {{}, 0},
        {std::vector<std::string>(5000, "8.3.1"), 1},
        {{"clock", "clock", "ticks", "clock"}, 3},
        {{"", "", "a"}, 2},
    };
    for (const auto& c : cases) {
        TextRuns list;
        for (const std::string& text : c.pushed)
            list.push_back(text);
        std::vector<std::string> read;
        list.forEach([&read](const std::string& text) { read.push_back(text); });
        EXPECT_EQ(read, c.pushed);
        EXPECT_EQ(list.size(), c.pushed.size());
        EXPECT_EQ(list.runs(), c.runs);
        EXPECT_EQ(list.first(), c.pushed.empty() ? std::string() : c.pushed.front());
    }
}

// Large blocks are aligned to a huge page and writable whole; a page
// prepared ahead goes to one block only, and giving it back unused is safe.
TEST(LargeMemory, BlocksAreAlignedAndIndependent) {
    const auto aligned = [](const LargeMemory& block) {
        return reinterpret_cast<std::uintptr_t>(block.get()) % kHugePageBytes == 0;
    };
    releaseLargeMemory();
    prepareLargeMemory();
    LargeMemory first = allocateLarge(kHugePageBytes);
    LargeMemory second = allocateLarge(kHugePageBytes);
    LargeMemory large = allocateLarge(3 * kHugePageBytes);
    LargeMemory small = allocateLarge(100);
    ASSERT_TRUE(first && second && large && small);
    EXPECT_NE(first.get(), second.get());
    EXPECT_TRUE(aligned(first) && aligned(second) && aligned(large));
    std::memset(first.get(), 1, kHugePageBytes);
    std::memset(second.get(), 2, kHugePageBytes);
    std::memset(large.get(), 3, 3 * kHugePageBytes);
    std::memset(small.get(), 4, 100);
    EXPECT_EQ(first.get()[kHugePageBytes - 1], std::byte{1});
    EXPECT_EQ(second.get()[0], std::byte{2});
    prepareLargeMemory();
    prepareLargeMemory(); // one page is kept at most
    releaseLargeMemory();
    releaseLargeMemory();
}

TEST(ConditionTexts, ListOnlyWhenFilled) {
    ConditionTexts texts;
    EXPECT_TRUE(texts.empty());
    EXPECT_EQ(texts, std::vector<std::string>{});
    texts.push_back("MC/DC (cond 1: 1 + 2)");
    texts.push_back("MC/DC (cond 2: 1 - 3)");
    EXPECT_EQ(texts.size(), 2U);
    EXPECT_EQ(texts[1], "MC/DC (cond 2: 1 - 3)");
    const ConditionTexts copy = texts;
    texts.clear();
    EXPECT_TRUE(texts.empty());
    EXPECT_EQ(copy, (std::vector<std::string>{"MC/DC (cond 1: 1 + 2)", "MC/DC (cond 2: 1 - 3)"}));
    texts = {"x"};
    EXPECT_EQ(std::vector<std::string>(texts.begin(), texts.end()), std::vector<std::string>{"x"});
}

// The pool keeps its texts in large chunks: texts that fill a chunk, cross
// into the next or are larger than a chunk stay intact and distinct.
TEST(TextPool, KeepsTextsOfEverySizeAcrossItsChunks) {
    TextPool pool;
    std::vector<std::string> texts;
    for (int i = 0; i < 3000; ++i)
        texts.push_back(
            std::string(static_cast<std::size_t>(i % 997), static_cast<char>('a' + i % 26)) +
            std::to_string(i));
    texts.push_back(std::string(std::size_t{3} << 20, 'L')); // larger than a chunk
    texts.push_back("after the large one");
    std::vector<SharedText> kept;
    for (const std::string& text : texts)
        kept.push_back(pool.intern(text));
    ASSERT_EQ(pool.size(), texts.size());
    for (std::size_t i = 0; i < texts.size(); ++i) {
        EXPECT_EQ(kept[i].view(), texts[i]) << i;
        EXPECT_TRUE(pool.intern(texts[i]).sameBlock(kept[i])) << i;
    }
}

// The texts live packed in one block that grows: every text, empty ones and
// long ones included, comes back as it was put in, before and after the
// block gives back its spare room, and in copies.
TEST(ConditionTexts, KeepsEveryTextThroughGrowthShrinkingAndCopies) {
    std::vector<std::string> expected;
    ConditionTexts texts;
    for (int i = 0; i < 2000; ++i) {
        std::string text = i % 7 == 0 ? "" : "MC/DC (cond " + std::to_string(i) + ": 1 + 2)";
        if (i % 101 == 0) text.append(5000, 'x');
        texts.push_back(text);
        expected.push_back(text);
    }
    EXPECT_EQ(texts.size(), expected.size());
    EXPECT_EQ(texts, expected);
    texts.shrink();
    EXPECT_EQ(texts, expected);
    ConditionTexts copy;
    copy = texts;
    texts.push_back("after");
    EXPECT_EQ(copy, expected);
    expected.push_back("after");
    EXPECT_EQ(texts, expected);
    EXPECT_EQ(texts[2000], "after");
    EXPECT_FALSE(copy == texts);
}

// Probes are kept by line; probes on one line in the order they came, also
// when they come out of line order.
TEST(ProbeMap, OrdersByLineThenByArrival) {
    ProbeMap probes;
    const auto add = [&probes](std::uint32_t line, const char* description) -> ProbeMap::Entry& {
        ProbeRecord record;
        record.description = description;
        record.probeLine = line;
        return probes.emplace(std::make_unique<CoverageProbe>(std::move(record)));
    };
    add(5, "a");
    add(5, "b");
    add(9, "c");
    EXPECT_EQ(add(2, "d").line(), 2U); // before all
    EXPECT_EQ(probes.first()->probe->description, "d");
    add(5, "e"); // after the other probes of line 5
    add(7, "f");
    add(12, "g");
    std::string order;
    for (const auto& [line, probe] : probes)
        order += std::to_string(line) + probe->description + " ";
    EXPECT_EQ(order, "2d 5a 5b 5e 7f 9c 12g ");

    const auto [from, to] = probes.equal_range(5);
    ASSERT_EQ(to - from, 3);
    EXPECT_EQ(from->probe->description, "a");
    const auto [none, alsoNone] = probes.equal_range(6);
    EXPECT_EQ(none, alsoNone);
    EXPECT_EQ(none->line(), 7U);

    probes.erase(from + 1);
    order.clear();
    for (const auto& [line, probe] : probes)
        order += probe->description;
    EXPECT_EQ(order, "daefcg");
    EXPECT_EQ(probes.size(), 6U);
}

// Probes arriving against line order wait apart and join the others in
// batches; the order must come out the same, however they arrive.
TEST(ProbeMap, ManyProbesAgainstLineOrder) {
    for (const int count : {10, 100, 5000}) {
        SCOPED_TRACE(count);
        ProbeMap probes;
        std::vector<std::string> expected;
        // Lines count..1, each twice, the two apart; then line 0 and the
        // largest line again.
        for (int round = 0; round < 2; ++round) {
            for (int line = count; line >= 1; --line) {
                ProbeRecord record;
                record.description = std::to_string(line) + (round == 0 ? "a" : "b");
                const auto key = static_cast<std::uint32_t>(line);
                record.probeLine = key;
                probes.emplace(std::make_unique<CoverageProbe>(std::move(record)));
                ASSERT_EQ(probes.first()->line(), round == 0 ? key : 1U);
            }
        }
        for (const std::string& tail : {std::string("0c"), std::to_string(count) + "c"}) {
            ProbeRecord record;
            record.description = tail;
            record.probeLine = static_cast<std::uint32_t>(std::stoi(tail));
            probes.emplace(std::make_unique<CoverageProbe>(std::move(record)));
        }
        expected.push_back("0c");
        for (int line = 1; line <= count; ++line) {
            expected.push_back(std::to_string(line) + "a");
            expected.push_back(std::to_string(line) + "b");
        }
        expected.push_back(std::to_string(count) + "c");
        ASSERT_EQ(probes.size(), expected.size());
        std::vector<std::string> order;
        for (const auto& [line, probe] : probes)
            order.emplace_back(probe->description.view());
        EXPECT_EQ(order, expected);
        const auto [from, to] = probes.equal_range(static_cast<std::uint32_t>(count));
        EXPECT_EQ(to - from, 3);
    }
}

// Trimming between probes, as when the reader alternates between two
// functions, keeps every probe in its place, waiting ones included.
TEST(ProbeMap, TrimmingBetweenProbesKeepsTheOrder) {
    ProbeMap probes;
    std::vector<std::string> expected;
    for (std::uint32_t i = 0; i < 3000; ++i) {
        ProbeRecord record;
        // Mostly ascending; every tenth probe comes against the line order.
        record.probeLine = i % 10 == 9 ? i / 2 : i;
        record.description = std::to_string(i);
        probes.emplace(std::make_unique<CoverageProbe>(std::move(record)));
        probes.trim();
    }
    std::vector<std::pair<std::uint32_t, std::uint32_t>> seen;
    for (const auto& [line, probe] : probes)
        seen.emplace_back(line,
                          static_cast<std::uint32_t>(std::stoul(std::string(probe->description))));
    ASSERT_EQ(seen.size(), 3000U);
    // By line, and on one line by arrival.
    EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()));
}

} // namespace
} // namespace kiv
