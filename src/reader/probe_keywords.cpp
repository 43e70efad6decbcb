#include "reader/probe_keywords.hpp"

#include <array>

#include "model/probe_type.hpp"

namespace kiv {

namespace {

// In the order in which the keywords are tried; the codes are what the rest of
// the program relies on, hence the three that do not follow the order.
constexpr std::array<ProbeKeyword, 52> kKeywords = {{
    {"function", kFunction},
    {"return", kReturn},
    {"if", kIf},
    {"else", kElse},
    {"else_if", kElseIf},
    {"multi_cond_t", kMultiCondT},
    {"multi_cond_f", kMultiCondF},
    {"switch", kSwitch},
    {"case", kCase},
    {"default", kDefault},
    {"missing_default", kMissingDefault},
    {"break", kBreak},
    {"try", kTry},
    {"throw", kThrow},
    {"catch", kCatch},
    {"while", kWhile},
    {"for", kFor},
    {"ternary", kTernary},
    {"do", kDo},
    {"do_while", kDoWhile},
    {"user_counter", kUserCounter},
    {"block_end", kBlockEnd},
    {"function_end_nr", kFunctionEndNr},
    {"lambda", kLambda},
    {"lambda_end", kLambdaEnd},
    {"lambda_end_nr", kLambdaEndNr},
    {"function_end", kFunctionEnd},
    {"const_if", kConstIf},
    {"const_else_if", kConstElseIf},
    {"const_while", kConstWhile},
    {"const_for", kConstFor},
    {"const_do_while", kConstDoWhile},
    {"const_ternary", kConstTernary},
    {"goto", kGoto},
    {"continue", kContinue},
    {"function_try_block", kFunctionTryBlock},
    {"label", kLabel},
    {"while_decl", kWhileDecl},
    {"for_decl", kForDecl},
    {"for_range", kForRange},
    {"for_each_range_vc", kForEachRangeVc},
    {"foreach_range_csharp", kForeachRangeCsharp},
    {"sub_cond", kSubCond},
    {"mcdc", kMcdc},
    {"__try", kSehTry},
    {"__leave", kSehLeave},
    {"__finally", kSehFinally},
    {"__except", kSehExcept},
    {"expr_andor", kExprAndor},
    {"user_annotation", kUserAnnotation},
    {"linedir", kLinedir},
    {"linedir_in_function", kLinedirInFunction},
}};

// A type text is looked up in a table of its own hash: the keywords have
// slots of their own (checked when the program is compiled), so one
// comparison decides.
constexpr std::size_t kHashSlots = 128;

constexpr std::size_t hashOf(std::string_view text) {
    const auto at = [text](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const std::size_t n = text.size();
    return (n * 2 + at(0) * 11 + at(n - 1) * 13 + at(n / 2) * 19) % kHashSlots;
}

// Slot -> 1 + index in kKeywords; 0 for a slot of no keyword.
constexpr std::array<std::uint8_t, kHashSlots> makeSlots() {
    std::array<std::uint8_t, kHashSlots> slots{};
    for (std::size_t i = 0; i < kKeywords.size(); ++i) {
        std::uint8_t& slot = slots[hashOf(kKeywords[i].keyword)];
        if (slot != 0) throw "two keywords share a slot: change the hash";
        slot = static_cast<std::uint8_t>(i + 1);
    }
    return slots;
}

constexpr std::array<std::uint8_t, kHashSlots> kSlots = makeSlots();

} // namespace

const ProbeKeyword* classifyProbeType(std::string_view text) {
    if (text.empty()) return nullptr;
    const std::uint8_t slot = kSlots[hashOf(text)];
    if (slot == 0) return nullptr;
    const ProbeKeyword& entry = kKeywords[slot - 1];
    if (entry.keyword.size() != text.size()) return nullptr;
    // Short texts: a loop, not a call.
    for (std::size_t i = 0; i < text.size(); ++i)
        if (entry.keyword[i] != text[i]) return nullptr;
    return &entry;
}

} // namespace kiv
