#pragma once

#include <cstdint>

namespace kiv {

// Probe type codes. Every part of the program names probe kinds by these codes;
// the reader turns the report's keywords into them.
enum ProbeType : std::uint8_t {
    kFunction = 1,
    kReturn = 2,
    kIf = 3,
    kElse = 4,
    kElseIf = 5,
    kMultiCondT = 6,
    kMultiCondF = 7,
    kSwitch = 8,
    kCase = 9,
    kDefault = 10,
    kBreak = 11,
    kTry = 12,
    kThrow = 13,
    kCatch = 14,
    kWhile = 15,
    kFor = 16,
    kTernary = 17,
    kDo = 18,
    kDoWhile = 19,
    kUserCounter = 20,
    kBlockEnd = 21,
    kFunctionEndNr = 22,
    kLambda = 23,
    kLambdaEnd = 24,
    kLambdaEndNr = 25,
    kFunctionEnd = 26,
    kConstIf = 27,
    kConstElseIf = 28,
    kConstWhile = 29,
    kConstFor = 30,
    kConstDoWhile = 31,
    kConstTernary = 32,
    kFunctionTryBlock = 33,
    kGoto = 34,
    kContinue = 35,
    kLabel = 36,
    kWhileDecl = 37,
    kForDecl = 38,
    kForRange = 39,
    kForEachRangeVc = 40,
    kForeachRangeCsharp = 41,
    kSubCond = 42,
    kMcdc = 43,
    kSehTry = 44,
    kSehLeave = 45,
    kSehFinally = 46,
    kSehExcept = 47,
    kExprAndor = 48,
    kUserAnnotation = 49,
    kLinedir = 50,
    kLinedirInFunction = 51,
    kMissingDefault = 52,
};

// Decisions: two outcomes, true counted by the first counter, false by the second.
constexpr bool isDecision(unsigned type) {
    return type == kIf || type == kElseIf || type == kWhile || type == kFor || type == kTernary ||
           type == kDoWhile || type == kSubCond || type == kExprAndor;
}

// The const_ kinds (27 to 32).
constexpr bool isConstKind(unsigned type) { return type >= kConstIf && type <= kConstTernary; }

// Structural markers without an outcome of their own.
constexpr bool isMarker(unsigned type) {
    return type == kElse || type == kSwitch || type == kDo || type == kBlockEnd ||
           type == kFunctionEndNr || type == kLambdaEndNr || type == kFunctionTryBlock ||
           type == kLabel || type == kMcdc || type == kUserAnnotation || type == kLinedir ||
           type == kLinedirInFunction;
}

// Condition probes inherit the description of the decision they belong to.
constexpr bool isConditionKind(unsigned type) {
    return type == kMultiCondT || type == kMultiCondF || type == kSubCond || type == kMcdc;
}

constexpr bool isMultiCondition(unsigned type) {
    return type == kMultiCondT || type == kMultiCondF;
}

// The outcome class a new probe gets from its type; for the const_ kinds it
// depends on whether the probe element carried a count1 attribute.
constexpr std::uint32_t outcomeClassOf(unsigned type, bool hasCount1) {
    if (isConstKind(type)) return hasCount1 ? 5 : 6;
    if (type == kMultiCondF) return 3;
    if (isDecision(type)) return 4;
    if (isMarker(type)) return 1;
    return 2;
}

} // namespace kiv
