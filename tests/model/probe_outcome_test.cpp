#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model_test_support.hpp"

namespace kiv {
namespace {

using test::P;
using test::record;

struct OutcomeCase {
    std::uint8_t type;
    std::uint32_t outcomeClass;
    std::uint32_t c1, c2;
    std::uint32_t possible, covered;
};

CoverageProbe build(std::uint8_t type, std::uint32_t outcomeClass, std::uint32_t c1,
                    std::uint32_t c2) {
    ProbeRecord r = record(P{.type = type, .line = 1, .descr = "d", .c1 = c1, .c2 = c2});
    r.outcomeClass = outcomeClass;
    return CoverageProbe(std::move(r));
}

TEST(ProbeOutcomes, PossibleAndCoveredByType) {
    std::vector<OutcomeCase> cases;
    for (std::uint8_t decision :
         {kIf, kElseIf, kWhile, kFor, kTernary, kDoWhile, kSubCond, kExprAndor}) {
        cases.push_back({decision, 4, 0, 0, 2, 0});
        cases.push_back({decision, 4, 3, 0, 2, 1});
        cases.push_back({decision, 4, 0, 3, 2, 1});
        cases.push_back({decision, 4, 1, 1, 2, 2});
    }
    cases.push_back({kMultiCondF, 3, 5, 0, 1, 0});
    cases.push_back({kMultiCondF, 3, 0, 1, 1, 1});
    for (std::uint8_t constKind = kConstIf; constKind <= kConstTernary; ++constKind) {
        cases.push_back({constKind, 5, 1, 0, 1, 1});
        cases.push_back({constKind, 5, 0, 1, 1, 0});
        cases.push_back({constKind, 6, 1, 0, 1, 0});
        cases.push_back({constKind, 6, 0, 1, 1, 1});
    }
    for (std::uint8_t marker :
         {kElse, kSwitch, kDo, kBlockEnd, kFunctionEndNr, kLambdaEndNr, kFunctionTryBlock, kLabel,
          kMcdc, kUserAnnotation, kLinedirInFunction})
        cases.push_back({marker, 1, 5, 5, 0, 0});
    for (std::uint8_t single :
         {kFunction, kReturn, kMultiCondT, kCase, kDefault, kBreak, kUserCounter, kLambda,
          kFunctionEnd, kGoto, kContinue, kForRange, kSehExcept, kMissingDefault}) {
        cases.push_back({single, 2, 0, 7, 1, 0});
        cases.push_back({single, 2, 1, 0, 1, 1});
    }
    for (const OutcomeCase& c : cases) {
        SCOPED_TRACE("type " + std::to_string(c.type) + " class " + std::to_string(c.outcomeClass) +
                     " counters " + std::to_string(c.c1) + "/" + std::to_string(c.c2));
        const CoverageProbe probe = build(c.type, c.outcomeClass, c.c1, c.c2);
        EXPECT_EQ(probe.possible, c.possible);
        EXPECT_EQ(probe.covered, c.covered);
    }
}

TEST(ProbeOutcomes, UnknownCodesAndFileLevelDirectivesKeepTheirValues) {
    for (std::uint8_t type :
         {std::uint8_t{0}, std::uint8_t{kLinedir}, std::uint8_t{53}, std::uint8_t{255}}) {
        SCOPED_TRACE(static_cast<int>(type));
        CoverageProbe probe = build(type, 2, 1, 1);
        EXPECT_EQ(probe.possible, 0U);
        probe.possible = 7;
        probe.covered = 3;
        probe.merge(record(P{.type = type, .line = 1, .descr = "d", .c1 = 1}));
        EXPECT_EQ(probe.possible, 7U);
        EXPECT_EQ(probe.covered, 3U);
        EXPECT_EQ(probe.counters[0], 2U);
    }
}

struct ClassCase {
    std::uint32_t before;
    std::uint32_t c1, c2;     // stored counters
    std::uint32_t add1, add2; // merged counters
    std::uint32_t after, covered;
};

TEST(ProbeOutcomes, ConstKindsFollowTheSecondCounter) {
    const std::vector<ClassCase> cases = {
        {5, 1, 0, 0, 0, 5, 1}, {5, 1, 0, 0, 1, 6, 1}, {6, 0, 0, 0, 0, 5, 0},
        {6, 0, 1, 1, 0, 6, 1}, {6, 0, 0, 4, 0, 5, 1}, {5, 0, 0, 0, 0, 5, 0},
    };
    for (const ClassCase& c : cases) {
        SCOPED_TRACE(std::to_string(c.before) + ": " + std::to_string(c.c1) + "/" +
                     std::to_string(c.c2) + " + " + std::to_string(c.add1) + "/" +
                     std::to_string(c.add2));
        CoverageProbe probe = build(kConstWhile, c.before, c.c1, c.c2);
        probe.merge(
            record(P{.type = kConstWhile, .line = 1, .descr = "d", .c1 = c.add1, .c2 = c.add2}));
        EXPECT_EQ(probe.outcomeClass, c.after);
        EXPECT_EQ(probe.covered, c.covered);
    }
    CoverageProbe decision = build(kIf, 4, 0, 0);
    decision.merge(record(P{.type = kIf, .line = 1, .descr = "d", .c2 = 1}));
    EXPECT_EQ(decision.outcomeClass, 4U);
}

TEST(ProbeOutcomes, MergingAProbeOrARecordAgrees) {
    ProbeRecord r = record(P{.type = kIf, .line = 1, .descr = "d", .c1 = 4, .c2 = 0, .sc = 3});
    r.sourceLine = 17;
    r.directiveLine = 2;
    CoverageProbe viaRecord = build(kIf, 4, 1, 1);
    CoverageProbe viaProbe = build(kIf, 4, 1, 1);
    viaRecord.merge(r);
    viaProbe.merge(CoverageProbe(ProbeRecord(r)));
    for (const CoverageProbe* p : {&viaRecord, &viaProbe}) {
        EXPECT_EQ(p->counters, (std::array<std::uint32_t, 2>{5, 1}));
        EXPECT_EQ(p->mergeCount, 1U);
        EXPECT_EQ(p->sourceLines().size(), 2U);
        EXPECT_EQ(p->sourceLines().max(), 17U);
        EXPECT_EQ(p->directiveLines().max(), 2U);
        EXPECT_EQ(p->scCounts().max(), 3U);
        EXPECT_EQ(p->covered, 2U);
    }
}

} // namespace
} // namespace kiv
