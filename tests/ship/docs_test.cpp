// The shipped documents against the program itself: every diagnostic of the
// message table is explained under its code in the manual page and in the
// README, and every option of the usage text is documented in the manual page
// and offered by the bash completion. A message or option changed in one place
// and not in the other fails here.

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <initializer_list>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "diagnostics/message_table.hpp"
#include "driver/usage.hpp"

namespace kiv {
namespace {

std::string readText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    EXPECT_TRUE(in.good()) << "cannot read " << path;
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::vector<std::string> splitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

void replaceAll(std::string& text, const std::string& from, const std::string& to) {
    for (std::size_t at = text.find(from); at != std::string::npos;
         at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
}

// The manual page source with the escapes it uses in plain text undone.
std::vector<std::string> manPageLines() {
    std::string text = readText(KIV_SOURCE_DIR "/man/kivxmlmerge.1");
    replaceAll(text, "\\&", "");
    replaceAll(text, "\\-", "-");
    replaceAll(text, "\\e", "\\");
    return splitLines(text);
}

// Joins the pieces (built by appending: GCC 12 misreads literal + string at -O3).
std::string concat(std::initializer_list<std::string_view> pieces) {
    std::string text;
    for (std::string_view piece : pieces)
        text.append(piece);
    return text;
}

bool startsWith(const std::string& text, const std::string& prefix) {
    return text.compare(0, prefix.size(), prefix) == 0;
}

// The options of the usage text: "-p", "-x", ..., and "@" for "@optionsfile".
std::vector<std::string> usageOptions() {
    std::ostringstream out;
    writeUsage(out);
    std::vector<std::string> options;
    for (const std::string& line : splitLines(out.str())) {
        if (!startsWith(line, "   -") && !startsWith(line, "   @")) continue;
        std::string option = line.substr(3, line.find(' ', 3) - 3);
        if (option[0] == '@') option.resize(1); // "@optionsfile" is the option "@"
        options.push_back(option);
    }
    return options;
}

TEST(ShippedDocs, UsageTextListsTheOptionsTheDocumentsAreCheckedFor) {
    const std::vector<std::string> expected = {"-p", "-x", "@", "-f", "-nf", "-ndl", "-h"};
    EXPECT_EQ(usageOptions(), expected);
}

TEST(ShippedDocs, ManPageExplainsEveryDiagnosticUnderItsCode) {
    const std::vector<std::string> lines = manPageLines();
    for (int code = 1; code <= kLastMergeCode; ++code) {
        SCOPED_TRACE(concat({"code ", std::to_string(code)}));
        const std::string message(messageText(code));
        ASSERT_FALSE(message.empty());
        const std::string tag = concat({".BR ", std::to_string(code), " \" (unit "});
        // The entry runs from its tag to the next paragraph or section.
        auto entry = std::find_if(lines.begin(), lines.end(),
                                  [&](const std::string& line) { return startsWith(line, tag); });
        ASSERT_NE(entry, lines.end()) << "no entry tagged " << tag;
        ASSERT_NE(entry, lines.begin());
        EXPECT_EQ(*(entry - 1), ".TP");
        bool found = false;
        for (auto line = entry + 1;
             line != lines.end() && *line != ".TP" && !startsWith(*line, ".SH"); ++line)
            found = found || *line == concat({".B \"", message, "\""});
        EXPECT_TRUE(found) << "the entry does not quote \"" << message << "\"";
    }
}

TEST(ShippedDocs, ReadmeTableGivesEveryDiagnosticWithItsCode) {
    const std::vector<std::string> lines = splitLines(readText(KIV_SOURCE_DIR "/README.md"));
    for (int code = 1; code <= kMessageCount; ++code) {
        SCOPED_TRACE(concat({"code ", std::to_string(code)}));
        const std::string row = concat({"| ", std::to_string(code), " |"});
        const std::string message = concat({"`", messageText(code), "`"});
        const auto count = std::count_if(lines.begin(), lines.end(), [&](const std::string& line) {
            return startsWith(line, row) && line.find(message) != std::string::npos;
        });
        EXPECT_EQ(count, 1) << "README needs one row " << row << " with " << message;
    }
}

TEST(ShippedDocs, ReadmeShowsTheSynopsisOfTheUsageText) {
    const std::string readme = readText(KIV_SOURCE_DIR "/README.md");
    std::ostringstream out;
    writeUsage(out);
    for (const std::string& line : splitLines(out.str())) {
        if (!startsWith(line, "kivxmlmerge ") && !startsWith(line, "            [")) continue;
        EXPECT_NE(readme.find(concat({"\n", line, "\n"})), std::string::npos) << line;
    }
}

TEST(ShippedDocs, ManPageDocumentsEveryOption) {
    const std::vector<std::string> lines = manPageLines();
    for (const std::string& option : usageOptions()) {
        SCOPED_TRACE(option);
        bool found = false;
        for (std::size_t i = 1; i < lines.size(); ++i) {
            if (lines[i - 1] != ".TP") continue;
            const std::string& tag = lines[i];
            found = found || tag == concat({".B ", option}) ||
                    startsWith(tag, concat({".BI ", option, " "}));
        }
        EXPECT_TRUE(found) << "no OPTIONS entry for " << option;
    }
}

TEST(ShippedDocs, CompletionOffersEveryOption) {
    const std::string script = readText(KIV_SOURCE_DIR "/completion/kivxmlmerge.bash");
    const std::string marker = "compgen -W '";
    const std::size_t begin = script.find(marker);
    ASSERT_NE(begin, std::string::npos);
    const std::size_t end = script.find('\'', begin + marker.size());
    ASSERT_NE(end, std::string::npos);
    std::istringstream words(script.substr(begin + marker.size(), end - begin - marker.size()));
    std::vector<std::string> offered;
    for (std::string word; words >> word;)
        offered.push_back(word);

    std::vector<std::string> expected;
    for (const std::string& option : usageOptions())
        if (option != "@") expected.push_back(option);
    std::sort(offered.begin(), offered.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(offered, expected);
}

} // namespace
} // namespace kiv
