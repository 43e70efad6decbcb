#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "driver/options_file.hpp"
#include "driver/process_runner.hpp"

namespace kiv {
namespace {

using Tokens = std::vector<std::string>;

TEST(OptionsTokenizer, SplitsLikeTheCommandLine) {
    struct Case {
        const char* name;
        std::string text;
        Tokens expected;
    };
    const std::vector<Case> cases = {
        {"two lines", "in1.xml in2.xml\n-p out.txt\n", {"in1.xml", "in2.xml", "-p", "out.txt"}},
        {"quotes anywhere in a token", "a\"b c\"d", {"ab cd"}},
        {"quoted blank keeps the token",
         "\"my report.xml\" -x s.xml",
         {"my report.xml", "-x", "s.xml"}},
        {"line end ends a token even inside quotes; the state carries on",
         "\"a b\nc d\" e",
         {"a b", "c d", "e"}},
        {"tab ends a token inside quotes", "\"a\tb\"", {"a", "b"}},
        {"carriage returns end tokens", "a.xml\r\n-p\r\nout\r\n", {"a.xml", "-p", "out"}},
        {"empty tokens are dropped", "  \"\"  \t\n\n x ", {"x"}},
        {"no comments", "# not a comment\n", {"#", "not", "a", "comment"}},
        {"last token kept at the end", "a.xml", {"a.xml"}},
        {"backslashes are ordinary", "C:\\dir\\a.xml \\\"", {"C:\\dir\\a.xml", "\\"}},
        {"unbalanced quote runs to the end", "a \"b c", {"a", "b c"}},
        {"at sign is ordinary", "@other", {"@other"}},
        {"empty file", "", {}},
    };
    for (const Case& c : cases) {
        OptionsTokenizer tokenizer;
        // Feeding in pieces must not change the result.
        for (std::size_t i = 0; i < c.text.size(); i += 3)
            tokenizer.feed(c.text.substr(i, 3));
        EXPECT_EQ(tokenizer.finish(), c.expected) << c.name;
    }
}

TEST(OptionsFile, ReadsAFileAndReportsAMissingOne) {
    const std::string dir = test::makeTempDir();
    test::writeFile(dir + "/opts", "in1.xml \"in 2.xml\"\n-p out.txt");
    const auto tokens = readOptionsFile(dir + "/opts");
    ASSERT_TRUE(tokens.has_value());
    EXPECT_EQ(*tokens, (Tokens{"in1.xml", "in 2.xml", "-p", "out.txt"}));
    EXPECT_FALSE(readOptionsFile(dir + "/missing").has_value());
    // A directory opens but holds no tokens.
    const auto none = readOptionsFile(dir);
    ASSERT_TRUE(none.has_value());
    EXPECT_TRUE(none->empty());
}

} // namespace
} // namespace kiv
