#pragma once

#include <array>
#include <cstdint>
#include <string_view>

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

// The reports' keyword of each type code, by code.
inline constexpr std::array<std::string_view, 53> kProbeTypeNames = {
    "",
    "function",
    "return",
    "if",
    "else",
    "else_if",
    "multi_cond_t",
    "multi_cond_f",
    "switch",
    "case",
    "default",
    "break",
    "try",
    "throw",
    "catch",
    "while",
    "for",
    "ternary",
    "do",
    "do_while",
    "user_counter",
    "block_end",
    "function_end_nr",
    "lambda",
    "lambda_end",
    "lambda_end_nr",
    "function_end",
    "const_if",
    "const_else_if",
    "const_while",
    "const_for",
    "const_do_while",
    "const_ternary",
    "function_try_block",
    "goto",
    "continue",
    "label",
    "while_decl",
    "for_decl",
    "for_range",
    "for_each_range_vc",
    "foreach_range_csharp",
    "sub_cond",
    "mcdc",
    "__try",
    "__leave",
    "__finally",
    "__except",
    "expr_andor",
    "user_annotation",
    "linedir",
    "linedir_in_function",
    "missing_default",
};

// The keyword of a type code; empty for a code outside 1 to 52.
constexpr std::string_view probeTypeName(unsigned type) {
    return type < kProbeTypeNames.size() ? kProbeTypeNames[type] : std::string_view{};
}

// Decisions: two outcomes, true counted by the first counter, false by the second.
constexpr bool isDecision(unsigned type) {
    return type == kIf || type == kElseIf || type == kWhile || type == kFor || type == kTernary ||
           type == kDoWhile || type == kSubCond || type == kExprAndor;
}

// The const_ kinds (27 to 32).
constexpr bool isConstKind(unsigned type) {
    return type >= kConstIf && type <= kConstTernary;
}

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
