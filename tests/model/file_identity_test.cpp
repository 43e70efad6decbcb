#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/file_identity.hpp"

namespace kiv {
namespace {

using namespace std::string_literals;

struct NameCase {
    std::string name;
    bool noDriveLetter;
    std::string key;
    std::string display;
};

TEST(FileIdentity, KeyAndDisplayName) {
    const std::vector<NameCase> cases = {
        {"C:/Src//Util.C", false, "c:\\src\\util.c", "C:/Src//Util.C"},
        {"c:\\src\\util.c", false, "c:\\src\\util.c", "c:\\src\\util.c"},
        {"C:/Src//Util.C", true, "\\src\\util.c", "/Src//Util.C"},
        {"D:\\src\\util.c", true, "\\src\\util.c", "\\src\\util.c"},
        {"C:/Src/Util.C", true, "\\src\\util.c", "/Src/Util.C"},
        {"1:/x", true, "\\x", "/x"},
        {"C:", true, "c:", "C:"}, // nothing would be left: the drive stays
        {"C:x", true, "x", "x"},
        {"x:", false, "x:", "x:"},
        {":ab", true, ":ab", ":ab"},
        {"\\\\Server\\Share\\a.c", false, "\\server\\share\\a.c", "\\\\Server\\Share\\a.c"},
        {"a/\\/b//", false, "a\\b\\", "a/\\/b//"},
        {"", true, "", ""},
        {"A", true, "a", "A"},
        {"\xC4Z.C", false, "\xC4z.c", "\xC4Z.C"}, // ASCII letters only
        {"AZ@[`az", false, "az@[`az", "AZ@[`az"},
    };
    for (const NameCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(normaliseName(c.name, c.noDriveLetter), c.key);
        EXPECT_EQ(displayName(c.name, c.noDriveLetter), c.display);
    }
}

TEST(FileIdentity, LongSeparatorRunsCollapse) {
    const std::string name = "A" + std::string(100000, '\\') + "/B" + std::string(100000, '/');
    EXPECT_EQ(normaliseName(name, false), "a\\b\\");
}

struct PatternCase {
    std::string pattern;
    std::string name;
    bool matches;
};

TEST(FileIdentity, MatchPattern) {
    const std::vector<PatternCase> cases = {
        // Suffix form.
        {"*.c", "src\\a.c.c", true},
        {"*util.c", "c:\\src\\util.c", true},
        {"*util.c", "c:\\other\\myutil.c", true},
        {"*util.c", "c:\\src\\util.cpp", false},
        {"*", "", true},
        {"*", "c:\\any\\name.c", true},
        {"*abc", "xabc", true},
        {"*abc", "abc", true}, // not shorter than the name: general form
        {"*abc", "ab", false},
        // General form: the first occurrence of a segment is taken for good.
        {"src\\*.c", "src\\a.c", true},
        {"src\\*.c", "src\\a.c.c", false},
        {"a*c", "acbc", false},
        {"a*b*c", "aXbYc", true},
        {"a*b*c", "abcbc", false},
        {"*\\src\\*", "c:\\src\\util.c", true},
        {"*\\src\\*", "\\src\\a", true},
        {"*\\src\\*", "c:\\other\\util.c", false},
        {"*\\src\\*", "c:\\src", false},
        {"x*aab", "xaaab", true},
        {"*aabaab*", "aabaaabaabz", true},
        {"*abab*x", "abaababx", true},
        {"**", "x", true},
        {"*a*", "bab", true},
        {"a*", "a", true},
        // Literal characters.
        {"", "", true},
        {"", "a", false},
        {"abc", "abc", true},
        {"abc", "abcd", false},
        {"abcd", "abc", false},
        {"x*", "", false},
        {"a?c", "abc", false},
        {"a?c", "a?c", true},
        {"ABC", "abc", false},
        // Texts end at a NUL.
        {"abc\0xyz"s, "abc", true},
        {"abc", "abc\0def"s, true},
        {"*c", "ab\0c"s, false},
        {"*b", "ab\0c"s, true},
    };
    for (const PatternCase& c : cases) {
        SCOPED_TRACE("pattern '" + c.pattern + "' name '" + c.name + "'");
        EXPECT_EQ(matchPattern(c.pattern, c.name), c.matches);
    }
}

struct FilterCase {
    bool noDriveLetter;
    std::vector<std::string> chosen;
    std::vector<std::string> unchosen;
    std::string displayName;
    bool expected;
};

TEST(FileIdentity, FilterDecision) {
    const std::vector<FilterCase> cases = {
        {false, {}, {}, "C:\\Anything.c", true},
        {false, {"*util.c"}, {}, "C:\\Src\\Util.c", true},
        {false, {"*util.c"}, {}, "c:\\other\\myutil.c", true},
        {false, {"*util.c"}, {}, "c:\\src\\util.cpp", false},
        {false, {"*\\src\\*"}, {}, "C:/SRC//x.c", true},
        {false, {"*\\src\\*"}, {}, "c:\\other\\x.c", false},
        {false, {}, {"*\\src\\*"}, "C:/src/x.c", false},
        {false, {}, {"*\\src\\*"}, "c:\\other\\x.c", true},
        // -f decides alone once given.
        {false, {"*\\src\\*"}, {"*\\src\\*"}, "c:\\src\\x.c", true},
        {false, {"*\\src\\*"}, {"*\\src\\*"}, "c:\\other\\x.c", false},
        // Patterns are normalised like names.
        {false, {"*/SRC/*"}, {}, "c:\\src\\x.c", true},
        {false, {"C:\\SRC\\*"}, {}, "c:/src/x.c", true},
        {true, {"C:\\src\\*"}, {}, "D:\\src\\a.c", true},
        {false, {"C:\\src\\*"}, {}, "D:\\src\\a.c", false},
        {false, {"*.h", "*.c"}, {}, "a.c", true},
        {false, {}, {"*.h", "*.c"}, "a.c", false},
        {false, {}, {"*.h"}, "a.c", true},
    };
    for (const FilterCase& c : cases) {
        SCOPED_TRACE(c.displayName);
        const FileFilter filter(c.noDriveLetter, c.chosen, c.unchosen);
        EXPECT_EQ(filter.isChosen(c.displayName), c.expected);
    }
}

TEST(FileIdentity, ChosenTestNormalisesTheDisplayNameAgain) {
    // The display name keeps a second drive, which the key drops too.
    const FileFilter filter(true, {"\\src\\*"}, {});
    const std::string display = displayName("C:D:\\src\\a.c", true);
    EXPECT_EQ(display, "D:\\src\\a.c");
    EXPECT_TRUE(filter.isChosen(display));
}

} // namespace
} // namespace kiv
