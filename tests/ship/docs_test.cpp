// The shipped documents against the programs themselves: every diagnostic a
// program can raise is explained under its code in its manual page (and no
// other is), every diagnostic of the message table in the README, and every
// option of a program's usage text is documented in its manual page and the
// README and offered by its bash completion. A message or option changed in
// one place and not in the other fails here.

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <initializer_list>
#include <set>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "diagnostics/message_table.hpp"
#include "driver/program.hpp"

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

// Joins the pieces (built by appending: GCC 12 misreads literal + string at -O3).
std::string concat(std::initializer_list<std::string_view> pieces) {
    std::string text;
    for (std::string_view piece : pieces)
        text.append(piece);
    return text;
}

void replaceAll(std::string& text, const std::string& from, const std::string& to) {
    for (std::size_t at = text.find(from); at != std::string::npos;
         at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
}

// A program and its documents. The other program tells the codes this one
// cannot raise: those of the other's own options and outputs.
struct Shipped {
    const Program& program;
    const Program& other;
    std::vector<std::string> options; // of the usage text, "@" for "@optionsfile"
};

// The manual page source with the escapes it uses in plain text undone.
std::vector<std::string> manPageLines(const Program& program) {
    std::string text = readText(concat({KIV_SOURCE_DIR "/man/", program.name, ".1"}));
    replaceAll(text, "\\&", "");
    replaceAll(text, "\\-", "-");
    replaceAll(text, "\\e", "\\");
    return splitLines(text);
}

bool startsWith(const std::string& text, const std::string& prefix) {
    return text.compare(0, prefix.size(), prefix) == 0;
}

std::string usageText(const Program& program) {
    std::ostringstream out;
    program.writeUsage(out);
    return out.str();
}

// The options of the usage text: "-p", "-x", ..., and "@" for "@optionsfile".
std::vector<std::string> usageOptions(const Program& program) {
    std::vector<std::string> options;
    for (const std::string& line : splitLines(usageText(program))) {
        if (!startsWith(line, "   -") && !startsWith(line, "   @")) continue;
        std::string option = line.substr(3, line.find(' ', 3) - 3);
        if (option[0] == '@') option.resize(1); // "@optionsfile" is the option "@"
        options.push_back(option);
    }
    return options;
}

// The codes a program can raise: every code of the table except those of the
// other program's own options and outputs.
std::set<int> raisedCodes(const Shipped& shipped) {
    std::set<int> codes;
    for (int code = 1; code <= kMessageCount; ++code)
        codes.insert(code);
    codes.erase(shipped.other.outputMissingCode);
    for (const ValueOption& option : shipped.other.valueOptions)
        codes.erase(option.missingArgumentCode);
    return codes;
}

void PrintTo(const Shipped& shipped, std::ostream* out) {
    *out << shipped.program.name;
}

class ShippedProgram : public ::testing::TestWithParam<Shipped> {};

TEST_P(ShippedProgram, UsageTextListsTheOptionsTheDocumentsAreCheckedFor) {
    EXPECT_EQ(usageOptions(GetParam().program), GetParam().options);
}

TEST_P(ShippedProgram, ManPageExplainsEveryDiagnosticItRaisesUnderItsCode) {
    const std::vector<std::string> lines = manPageLines(GetParam().program);
    const std::set<int> raised = raisedCodes(GetParam());
    for (int code = 1; code <= kMessageCount; ++code) {
        SCOPED_TRACE(concat({"code ", std::to_string(code)}));
        const std::string message(messageText(code));
        ASSERT_FALSE(message.empty());
        const std::string tag = concat({".BR ", std::to_string(code), " \" (unit "});
        // The entry runs from its tag to the next paragraph or section.
        auto entry = std::find_if(lines.begin(), lines.end(),
                                  [&](const std::string& line) { return startsWith(line, tag); });
        if (!raised.contains(code)) {
            EXPECT_EQ(entry, lines.end()) << "the page explains a code the program cannot raise";
            continue;
        }
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

TEST_P(ShippedProgram, ReadmeShowsTheSynopsisOfTheUsageText) {
    const std::string readme = readText(KIV_SOURCE_DIR "/README.md");
    const std::string name(GetParam().program.name);
    for (const std::string& line : splitLines(usageText(GetParam().program))) {
        // The synopsis: lines beginning with the name, and their continuations.
        if (!startsWith(line, concat({name, " "})) &&
            !startsWith(line, concat({std::string(name.size() + 1, ' '), "["})))
            continue;
        EXPECT_NE(readme.find(concat({"\n", line, "\n"})), std::string::npos) << line;
    }
}

TEST_P(ShippedProgram, ReadmeTableExplainsEveryOption) {
    const std::vector<std::string> lines = splitLines(readText(KIV_SOURCE_DIR "/README.md"));
    for (const std::string& option : GetParam().options) {
        // "| `-ndl` |", "| `-p profilefile` |" or "| `@optionsfile` |".
        const std::string row = concat({"| `", option});
        EXPECT_TRUE(std::any_of(lines.begin(), lines.end(),
                                [&](const std::string& line) {
                                    if (!startsWith(line, row)) return false;
                                    const char next = line[row.size()];
                                    return option == "@" || next == '`' || next == ' ';
                                }))
            << "README has no row for " << option;
    }
}

TEST_P(ShippedProgram, ManPageDocumentsEveryOption) {
    const std::vector<std::string> lines = manPageLines(GetParam().program);
    for (const std::string& option : GetParam().options) {
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

TEST_P(ShippedProgram, CompletionOffersEveryOption) {
    const std::string script =
        readText(concat({KIV_SOURCE_DIR "/completion/", GetParam().program.name, ".bash"}));
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
    for (const std::string& option : GetParam().options)
        if (option != "@") expected.push_back(option);
    std::sort(offered.begin(), offered.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(offered, expected);
}

INSTANTIATE_TEST_SUITE_P(Programs, ShippedProgram,
                         ::testing::Values(Shipped{mergeProgram(),
                                                   exportProgram(),
                                                   {"-p", "-x", "@", "-f", "-nf", "-ndl", "-h"}},
                                           Shipped{exportProgram(),
                                                   mergeProgram(),
                                                   {"-lcov", "-cobertura", "-root", "@", "-f",
                                                    "-nf", "-ndl", "-h"}}),
                         [](const auto& info) { return std::string(info.param.program.name); });

} // namespace
} // namespace kiv
