#include "reader/probe_keywords.hpp"

#include <array>
#include <vector>

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

// The keywords of each length, in table order: a type text is compared with
// the few of its own length only.
class KeywordsByLength {
  public:
    KeywordsByLength() {
        for (const ProbeKeyword& entry : kKeywords)
            byLength_[entry.keyword.size()].push_back(&entry);
    }
    const ProbeKeyword* find(std::string_view text) const {
        if (text.empty() || text.size() >= byLength_.size()) return nullptr;
        // Keywords of one length mostly differ in their first character.
        for (const ProbeKeyword* entry : byLength_[text.size()])
            if (entry->keyword.front() == text.front() && entry->keyword == text) return entry;
        return nullptr;
    }

  private:
    std::array<std::vector<const ProbeKeyword*>, 24> byLength_;
};

} // namespace

const ProbeKeyword* classifyProbeType(std::string_view text) {
    static const KeywordsByLength keywords;
    return keywords.find(text);
}

namespace {

// The one keyword of code.
constexpr std::string_view keywordOf(std::uint8_t code) {
    std::string_view found;
    for (const ProbeKeyword& entry : kKeywords) {
        if (entry.code != code) continue;
        if (!found.empty()) throw "a code of two keywords";
        found = entry.keyword;
    }
    return found.empty() ? throw "a code of no keyword" : found;
}

constexpr std::string_view kTernaryKeyword = keywordOf(kTernary);
constexpr std::string_view kDirectiveKeyword = keywordOf(kLinedirInFunction);

} // namespace

bool isPlainKeyword(std::string_view text) {
    // The keywords are compared exactly, as classifyProbeType() does.
    return text != kTernaryKeyword && text != kDirectiveKeyword;
}

} // namespace kiv
