// Numbers, entities, versions and probe type keywords as a report writes them.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <string_view>

#include "model/probe_type.hpp"
#include "reader/directive.hpp"
#include "reader/kiv_parser.hpp"
#include "reader/numbers.hpp"
#include "reader/probe_keywords.hpp"
#include "reader/unescape.hpp"
#include "reader/version_check.hpp"

namespace kiv {
namespace {

constexpr std::uint32_t kUMax = 4294967295u;

TEST(ReadUnsigned, FollowsTheNotationOfItsPrefix) {
    const struct {
        std::string_view text;
        std::uint32_t expected;
    } cases[] = {
        {"0", 0},
        {"17", 17},
        {"010", 8},
        {"0x10", 16},
        {"0X1f", 31},
        {"08", 0}, // a leading 0 reads octal: 8 is no digit
        {"0x", 0}, // no hexadecimal digit: the number is the 0
        {"0xg", 0},
        {"  42", 42},               // leading white space
        {"\t+7", 7},                // one sign
        {"12abc", 12},              // stops at the first other character
        {"999999999", 999999999},   // the longest plain decimal read the short way
        {"1000000000", 1000000000}, // and the shortest read the long way
        {"7\r", 7},
        {"1 2", 1},
        {"", 0},
        {"abc", 0},
        {"+", 0},
        {"- 5", 0}, // no blank between sign and digits
        {"4294967295", kUMax},
        {"4294967296", kUMax}, // above 32 bits
        {"0x100000000", kUMax},
        {"99999999999999999999999", kUMax}, // above 64 bits
        {"-1", kUMax},
        {"-4294967297", kUMax},
        {"-18446744073709551615", kUMax}, // any negative value but zero
        {"-0", 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(readUnsigned(c.text), c.expected) << '"' << c.text << '"';
}

TEST(ReadSigned, ClampsToTheSigned32BitRange) {
    const struct {
        std::string_view text;
        std::int32_t expected;
    } cases[] = {
        {"12", 12},
        {"-12", -12},
        {"0x10", 16},
        {"-010", -8},
        {"", 0},
        {"n/a", 0},
        {"2147483647", 2147483647},
        {"2147483648", 2147483647},
        {"-2147483648", -2147483647 - 1},
        {"-2147483649", -2147483647 - 1},
        {"99999999999999999999999", 2147483647},
        {"-99999999999999999999999", -2147483647 - 1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(readSigned(c.text), c.expected) << '"' << c.text << '"';
}

TEST(Unescape, RestoresTheFiveEntitiesInOnePass) {
    const struct {
        std::string_view text;
        std::string_view expected;
    } cases[] = {
        {"a &lt; b", "a < b"},
        {"a &gt; b", "a > b"},
        {"&quot;util.h&quot;", "\"util.h\""},
        {"it&apos;s", "it's"},
        {"a &amp;&amp; b", "a && b"},
        {"&amp;quot;", "&quot;"}, // replaced text is not read again
        {"&amp;lt;", "&lt;"},
        {"&amp;amp;", "&amp;"},
        {"&#60; &#x3c;", "&#60; &#x3c;"}, // character references stay
        {"&lt", "&lt"},
        {"&&lt;&", "&<&"},
        {"&unknown; &", "&unknown; &"},
        {"", ""},
        {"plain", "plain"},
        {"&lt;&gt;&quot;&apos;&amp;", "<>\"'&"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(unescape(c.text), c.expected) << '"' << c.text << '"';
}

TEST(Unescape, ReplacesThePreviousContentOfTheOutput) {
    std::string out = "old content";
    unescapeInto("x&lt;y", out);
    EXPECT_EQ(out, "x<y");
}

TEST(VersionCheck, AcceptsOnly82And83And9) {
    for (std::string_view accepted : {"8.2", "8.3.1", "8.30", "9", "9.0", "8x2"})
        EXPECT_TRUE(isAcceptedVersion(accepted)) << accepted;
    for (std::string_view rejected : {"8.1", "8.1.5", "7.3", "10.0", "", "8", "8.", "80.2", " 8.2"})
        EXPECT_FALSE(isAcceptedVersion(rejected)) << '"' << rejected << '"';
}

TEST(ProbeKeywords, GiveTheirCodesExactly) {
    const struct {
        std::string_view keyword;
        unsigned code;
    } cases[] = {
        {"function", 1},
        {"if", 3},
        {"else_if", 5},
        {"multi_cond_f", 7},
        {"default", 10},
        {"missing_default", 52},
        {"break", 11},
        {"ternary", 17},
        {"function_end", 26},
        {"const_while", 29},
        {"const_ternary", 32},
        {"goto", 34},
        {"continue", 35},
        {"function_try_block", 33},
        {"label", 36},
        {"foreach_range_csharp", 41},
        {"mcdc", 43},
        {"__except", 47},
        {"user_annotation", 49},
        {"linedir", 50},
        {"linedir_in_function", 51},
    };
    for (const auto& c : cases) {
        const ProbeKeyword* entry = classifyProbeType(c.keyword);
        ASSERT_NE(entry, nullptr) << c.keyword;
        EXPECT_EQ(entry->code, c.code) << c.keyword;
        EXPECT_EQ(entry->keyword, c.keyword);
    }
}

TEST(ProbeKeywords, UnknownWithoutExactMatch) {
    // "rexurn" shares the first, middle and last characters and the length
    // of "return".
    for (std::string_view text :
         {"If", "if ", "IF", " if", "", "linedir_in", "functions", "rexurn", "casf"})
        EXPECT_EQ(classifyProbeType(text), nullptr) << '"' << text << '"';
}

TEST(ProbeKeywords, EveryCodeFrom1To52HasOneKeyword) {
    // The keyword table and the codes the rest of the program uses must agree.
    const char* keywords[] = {"function",
                              "return",
                              "if",
                              "else",
                              "else_if",
                              "multi_cond_t",
                              "multi_cond_f",
                              "switch",
                              "case",
                              "default",
                              "missing_default",
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
                              "goto",
                              "continue",
                              "function_try_block",
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
                              "linedir_in_function"};
    bool seen[53] = {};
    for (const char* keyword : keywords) {
        const ProbeKeyword* entry = classifyProbeType(keyword);
        ASSERT_NE(entry, nullptr) << keyword;
        ASSERT_GE(entry->code, 1);
        ASSERT_LE(entry->code, 52);
        EXPECT_FALSE(seen[entry->code]) << keyword;
        seen[entry->code] = true;
        EXPECT_EQ(probeTypeName(entry->code), keyword); // the model's name of the code
    }
}

TEST(ProbeKeywords, OutcomeClassOfTheClassifiedCode) {
    const struct {
        std::string_view keyword;
        bool hasCount1;
        std::uint32_t expected;
    } cases[] = {
        {"const_while", true, 5},
        {"const_while", false, 6},
        {"const_if", true, 5},
        {"multi_cond_f", true, 3},
        {"multi_cond_t", true, 2},
        {"if", false, 4},
        {"else", true, 1},
        {"linedir", true, 1},
        {"missing_default", true, 2},
        {"function_try_block", true, 1},
        {"goto", true, 2},
        {"sub_cond", true, 4},
    };
    for (const auto& c : cases)
        EXPECT_EQ(outcomeClassOf(classifyProbeType(c.keyword)->code, c.hasCount1), c.expected)
            << c.keyword;
}

TEST(ParseDirective, NumberIsTheSecondWordNameIsBetweenTheFirstQuotes) {
    const struct {
        std::string_view description;
        std::uint32_t number;
        std::string_view name;
    } cases[] = {
        {"#line 12 \"C:\\Src\\util.h\"", 12, "C:\\Src\\util.h"},
        {"#line 0x10 \"a.h\" 2", 16, "a.h"},
        {"#line 010 \"a.h\"", 8, "a.h"},
        {"#line 7", 7, ""},             // to the end without a second blank
        {"#line", 0, ""},               // no blank: no number
        {"#line  5 \"a.h\"", 0, "a.h"}, // the word between two blanks is empty
        {"#line 3 \"unterminated", 3, "unterminated"},
        {"#line x\"q\" \"a.h\"", 0, "q"}, // the first two quotes, wherever they are
        {"", 0, ""},
    };
    for (const auto& c : cases) {
        const Directive directive = parseDirective(c.description);
        EXPECT_EQ(directive.number, c.number) << c.description;
        EXPECT_EQ(directive.name, c.name) << c.description;
    }
}

TEST(KIVParserNames, FollowTheParsersDriveRuleAndPatterns) {
    const KIVParser withRule(true, {"*\\SRC\\*.c"}, {});
    EXPECT_EQ(withRule.displayName("C:/Src//a.c"), "/Src//a.c");
    EXPECT_EQ(withRule.normaliseName("C:/Src//A.c"), "\\src\\a.c");
    EXPECT_TRUE(withRule.isChosen("D:\\src\\b.c"));
    EXPECT_FALSE(withRule.isChosen("D:\\src\\b.h"));
    EXPECT_TRUE(withRule.matchPattern("*.c", "a.c"));
    EXPECT_FALSE(withRule.matchPattern("src\\*.c", "src\\a.c.c"));

    const KIVParser plain(false, {}, {"*.h"});
    EXPECT_EQ(plain.displayName("C:/Src/a.c"), "C:/Src/a.c");
    EXPECT_EQ(plain.normaliseName("C:/Src/a.c"), "c:\\src\\a.c");
    EXPECT_TRUE(plain.isChosen("C:/Src/a.c"));
    EXPECT_FALSE(plain.isChosen("C:/Src/A.H"));
}

} // namespace
} // namespace kiv
