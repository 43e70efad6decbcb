#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "model_test_support.hpp"

namespace kiv {
namespace {

using test::header;
using test::OneFunction;
using test::P;
using test::record;

// The function f(int) of a source file whose body runs into header code.
class HeaderCode : public ::testing::Test {
  protected:
    HeaderCode() { part.addFunction("N.A.", 0, "( )", header()); }

    P directive(std::uint32_t line, CoverageFile* owner, std::uint32_t c1 = 0) {
        return P{
            .type = kLinedirInFunction, .line = line, .descr = "#line 1", .c1 = c1, .owner = owner};
    }
    void addToPart(const P& p) { part.addProbe("N.A.", 0, "( )", record(p)); }
    CoverageFunction& pseudo() { return *part.findFunction("N.A.", 0, "( )"); }
    // (line, first counter) of every directive probe, in map order.
    std::vector<std::pair<std::uint32_t, std::uint32_t>> directives() {
        std::vector<std::pair<std::uint32_t, std::uint32_t>> found;
        for (const auto& [line, probe] : f.fn().probes)
            if (probe->type == kLinedirInFunction) found.emplace_back(line, probe->counters[0]);
        return found;
    }

    OneFunction f;
    CoverageFile part{"c:\\a.c_f(int)_1_c:\\x.h", kHeaderPart, "C:\\x.h", true};
    CoverageFile other{"c:\\b.c", kSourceFile, "C:\\b.c", true};
};

struct DirectiveCase {
    std::string what;
    std::vector<std::uint32_t> first; // directive lines of the first occurrence
    std::uint32_t later;              // directive line of the later occurrence
    std::vector<std::pair<std::uint32_t, std::uint32_t>> after;
    bool available;
};

TEST_F(HeaderCode, LaterDirectiveFindsItsCounterpart) {
    const std::vector<DirectiveCase> cases = {
        {"none", {}, 10, {{10, 1}}, false},
        {"one on the same line", {10}, 10, {{10, 1}}, true},
        {"one on a smaller line is replaced", {10}, 20, {{20, 1}}, false},
        {"one on a larger line stays", {20}, 10, {{10, 1}, {20, 0}}, false},
        {"several, one on the line", {10, 20}, 20, {{10, 0}, {20, 1}}, true},
        {"several on the line: the first", {10, 10, 20}, 10, {{10, 1}, {10, 0}, {20, 0}}, true},
        {"several, none on the line", {10, 20}, 30, {{10, 0}, {20, 0}, {30, 1}}, true},
    };
    for (const DirectiveCase& c : cases) {
        SCOPED_TRACE(c.what);
        CoverageFile code{"p", kHeaderPart, "x.h", true};
        code.addFunction("N.A.", 0, "( )", header());
        OneFunction g;
        g.occurrence({});
        for (std::uint32_t line : c.first)
            g.add(directive(line, &code));
        g.occurrence({directive(c.later, &code, 1)});

        std::vector<std::pair<std::uint32_t, std::uint32_t>> found;
        for (const auto& [line, probe] : g.fn().probes)
            if (probe->type == kLinedirInFunction) found.emplace_back(line, probe->counters[0]);
        EXPECT_EQ(found, c.after);
        EXPECT_EQ(g.available(), c.available);
        // The directive into header code starts the header code's next occurrence.
        EXPECT_EQ(code.findFunction("N.A.", 0, "( )")->occurrences, 1U);
    }
}

TEST_F(HeaderCode, OnlyDirectivesToTheSameFileAreCandidates) {
    f.occurrence({directive(10, &other)});
    f.occurrence({directive(10, &part, 1)});
    EXPECT_EQ(directives(),
              (std::vector<std::pair<std::uint32_t, std::uint32_t>>{{10, 0}, {10, 1}}));
    EXPECT_FALSE(f.available());
    EXPECT_EQ(pseudo().occurrences, 1U);
}

TEST_F(HeaderCode, DirectiveBackToASourceCountsNoOccurrence) {
    f.occurrence({directive(10, &part), directive(12, &other)});
    f.occurrence({directive(10, &part, 1), directive(12, &other, 1)});
    f.occurrence({directive(10, &part, 1), directive(12, &other, 1)});
    EXPECT_EQ(directives(),
              (std::vector<std::pair<std::uint32_t, std::uint32_t>>{{10, 2}, {12, 2}}));
    EXPECT_EQ(pseudo().occurrences, 2U);
    EXPECT_TRUE(f.available());
}

TEST_F(HeaderCode, FirstOccurrenceNeitherMatchesNorCounts) {
    f.occurrence({directive(10, &part), directive(10, &part)});
    EXPECT_EQ(directives().size(), 2U);
    EXPECT_EQ(pseudo().occurrences, 0U);
}

// A directive added without a counterpart, while statements are still
// available, lies before probes already checked: the next check must see it.
TEST_F(HeaderCode, NewDirectiveBeforeCheckedProbesCountsAsMissing) {
    for (const bool extraDirective : {false, true}) {
        SCOPED_TRACE(extraDirective);
        OneFunction g;
        const P a{.line = 10, .descr = "a"}, b{.line = 20, .descr = "b"};
        g.occurrence({directive(2, &part), directive(3, &part), a, b});
        g.occurrence({directive(2, &part), directive(3, &part), a});
        if (extraDirective) g.add(directive(5, &part));
        EXPECT_TRUE(g.available());
        g.add(b);
        EXPECT_EQ(g.available(), !extraDirective);
    }
}

struct ContextCase {
    std::string what;
    std::vector<std::uint32_t> without; // sc_count of conditions stored without context
    std::vector<std::uint32_t> with;    // and of those stored with one
    std::uint32_t later;
    int target; // index among the stored conditions in map order, -1 for a new one
    bool available;
};

// Header code starting inside a decision: its first conditions have no context.
TEST_F(HeaderCode, ConditionsWithAndWithoutContext) {
    const std::vector<ContextCase> cases = {
        {"distinct values: the one without context", {1}, {2}, 1, 0, true},
        {"distinct values: the one with context", {1}, {2}, 2, 1, true},
        {"distinct values: none", {1}, {2}, 3, -1, false},
        {"one value: the last", {1}, {1}, 1, 1, false},
        {"one value: the last without context", {1, 1}, {}, 1, 1, false},
        {"first with the value, from either side", {2, 1}, {1}, 1, 1, true},
        {"first with the value, without context", {1}, {1, 2}, 1, 0, true},
        {"first with the value, with context", {2}, {1, 1}, 1, 1, true},
        {"only with context, distinct values", {}, {1, 2}, 2, 1, true},
        {"only with context, one value", {}, {1, 1}, 2, 1, false},
    };
    for (const ContextCase& c : cases) {
        SCOPED_TRACE(c.what);
        CoverageFile code{"p", kHeaderPart, "x.h", true};
        code.addFunction("N.A.", 0, "( )", header());
        const auto add = [&](const P& p) { code.addProbe("N.A.", 0, "( )", record(p)); };
        const auto condition = [](std::uint32_t sc, std::uint32_t c1) {
            return P{.type = kMultiCondT, .line = 5, .descr = "1: T", .c1 = c1, .sc = sc};
        };
        OneFunction g;
        g.occurrence({directive(2, &code)});
        for (std::uint32_t sc : c.without)
            add(condition(sc, 0));
        add(P{.type = kIf, .line = 5, .descr = "if (x)"});
        for (std::uint32_t sc : c.with)
            add(condition(sc, 0));
        g.occurrence({directive(2, &code)});
        add(condition(c.later, 1));

        const CoverageFunction& fn = *code.findFunction("N.A.", 0, "( )");
        std::vector<const CoverageProbe*> conditions;
        for (const auto& [line, probe] : fn.probes)
            if (probe->type == kMultiCondT) conditions.push_back(probe.get());
        const std::size_t stored = c.without.size() + c.with.size();
        ASSERT_EQ(conditions.size(), stored + (c.target < 0 ? 1 : 0));
        for (std::size_t i = 0; i < stored; ++i) {
            EXPECT_EQ(conditions[i]->context, i < c.without.size() ? "" : "if (x)");
            EXPECT_EQ(conditions[i]->counters[0], static_cast<int>(i) == c.target ? 1U : 0U)
                << "condition " << i;
        }
        EXPECT_EQ(fn.statementAvailable, c.available ? "yes" : "no");
    }
}

TEST(ProbeContext, StoredContextMustEqualTheNewProbes) {
    OneFunction withContext;
    withContext.add(P{.type = kIf, .line = 5, .descr = "if (x)"});
    withContext.add(P{.type = kMultiCondT, .line = 5, .descr = "1: T"});
    OneFunction without;
    without.add(P{.type = kMultiCondT, .line = 5, .descr = "1: T"});

    const auto probeWith = [](const std::string& context) {
        ProbeRecord r = record(P{.type = kMultiCondT, .line = 5, .descr = "1: T"});
        r.context = context;
        return r;
    };
    CoverageFunction& a = withContext.fn();
    EXPECT_EQ(a.findMatchingProbe(probeWith("if (x)")), withContext.at(5).at(1));
    EXPECT_EQ(a.findMatchingProbe(probeWith("if (y)")), nullptr);
    EXPECT_EQ(a.findMatchingProbe(probeWith("")), nullptr);
    CoverageFunction& b = without.fn();
    EXPECT_EQ(b.findMatchingProbe(probeWith("if (y)")), without.at(5).at(0));
    EXPECT_EQ(b.findMatchingProbe(probeWith("")), without.at(5).at(0));
}

} // namespace
} // namespace kiv
