// Reading raw lines, skipping separator lines and cutting element lines.
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <random>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "reader/line_cutting.hpp"
#include "reader/line_reader.hpp"
#include "reader/newline_mask.hpp"
#include "reader/temp_reports.hpp"

namespace kiv {
namespace {

// Reads all lines of content (stopping at the first empty line after the
// input is used up).
std::vector<std::string> readAll(const std::string& content, std::size_t count) {
    test::TempReports dir;
    LineReader reader;
    EXPECT_TRUE(reader.open(dir.write("in.xml", content)));
    std::vector<std::string> lines;
    for (std::size_t i = 0; i < count; ++i)
        lines.emplace_back(reader.readLine());
    return lines;
}

TEST(LineReader, DropsOnlyACarriageReturnBeforeALineFeed) {
    const auto lines = readAll("a\r\nb\n\r\nc\rd\r\n\re\r", 6);
    const std::vector<std::string> expected = {"a", "b", "", "c\rd", "\re\r", ""};
    EXPECT_EQ(lines, expected);
}

TEST(LineReader, GivesEmptyLinesAfterTheEnd) {
    EXPECT_EQ(readAll("last line without end", 3),
              (std::vector<std::string>{"last line without end", "", ""}));
    EXPECT_EQ(readAll("", 2), (std::vector<std::string>{"", ""}));
}

TEST(LineReader, ReadsLinesLongerThanItsBuffer) {
    // Longer than the initial buffer, with a CR LF split over a refill.
    const std::string huge(300000, 'x');
    const std::string medium(100000, 'y');
    const auto lines = readAll(medium + "\n" + huge + "\r\nend\n", 4);
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0], medium);
    EXPECT_EQ(lines[1], huge);
    EXPECT_EQ(lines[2], "end");
    EXPECT_EQ(lines[3], "");
}

TEST(LineReader, CarriageReturnAndLineFeedAcrossABufferBoundary) {
    // Place "\r" as the last byte of the first buffer fill (256 KiB).
    const std::size_t fill = std::size_t{1} << 18;
    const std::string first(fill - 1, 'a');
    const auto lines = readAll(first + "\r\nnext\n", 2);
    EXPECT_EQ(lines[0], first);
    EXPECT_EQ(lines[1], "next");
}

// A line read after another keeps that one valid, wherever the two lie
// against the refills of the buffer (256 KiB), and when the second line does
// not fit in the buffer, which then grows.
TEST(LineReader, KeepsTheLineBeforeWhenReadingTheNext) {
    const std::size_t fill = std::size_t{1} << 18;
    const struct {
        std::size_t padding; // length of a line read before the pair
        std::size_t first;   // length of the first line of the pair
        std::size_t second;
    } cases[] = {
        {10, 20, 30},                    // all in the first fill
        {fill - 30, 20, 30},             // the second line crosses the end of the fill
        {fill - 22, 20, 30},             // the second line begins with the next fill
        {fill - 10, 20, 30},             // both lines cross it
        {fill - 30, 20, 3 * fill},       // the second line needs a larger buffer
        {fill / 2, fill / 2 - 100, 200}, // the kept line is most of the buffer
        {0, 0, 0},                       // empty lines
    };
    test::TempReports dir;
    LineReader reader;
    for (const auto& c : cases) {
        const std::string padding(c.padding, 'p');
        std::string first(c.first, 'f');
        if (!first.empty()) first.front() = '<';
        std::string second(c.second, 's');
        if (!second.empty()) second.back() = '>';
        ASSERT_TRUE(reader.open(
            dir.write("pair.xml", padding + "\n" + first + "\r\n" + second + "\nafter\n")));
        ASSERT_EQ(reader.readLine(), padding);
        const std::string_view line = reader.readLine();
        const std::string_view next = reader.readLineAfter(line.data());
        const char* moved = reader.relocated();
        const std::string_view kept(moved != nullptr ? moved : line.data(), line.size());
        EXPECT_EQ(kept, first) << c.padding << " " << c.first << " " << c.second;
        EXPECT_EQ(next, second) << c.padding << " " << c.first << " " << c.second;
        EXPECT_EQ(reader.readLine(), "after");
    }
}

// The line feeds of 64 bytes, found sixteen or eight bytes at a time, are
// those found one byte at a time: bytes next to a line feed's value (and
// with its low bits above 127) are not taken for one.
TEST(NewlineMask, FindsExactlyTheLineFeeds) {
    const auto reference = [](const char* bytes) {
        std::uint64_t mask = 0;
        for (int i = 0; i < 64; ++i)
            if (bytes[i] == '\n') mask |= std::uint64_t{1} << i;
        return mask;
    };
    std::vector<std::string> blocks = {std::string(64, 'x'), std::string(64, '\n')};
    for (const char other : {'\x0b', '\x09', '\x8a', '\x00', '\xff', '\r', '\x0e'}) {
        for (int at = 0; at < 64; ++at) {
            std::string block(64, other);
            block[static_cast<std::size_t>(at)] = '\n';
            blocks.push_back(block);
            std::string inverse(64, '\n');
            inverse[static_cast<std::size_t>(at)] = other;
            blocks.push_back(inverse);
        }
    }
    std::mt19937 random(7);
    const char alphabet[] = {'\n', '\r', 'a', '\x8a', '\x0b', '\x00', '\xff', '<'};
    for (int i = 0; i < 2000; ++i) {
        std::string block(64, ' ');
        for (char& c : block)
            c = alphabet[random() % sizeof alphabet];
        blocks.push_back(block);
    }
    for (const std::string& block : blocks) {
        const std::uint64_t expected = reference(block.data());
        ASSERT_EQ(newlineMask64(block.data()), expected) << block;
        ASSERT_EQ(newlineMaskPortable(block.data()), expected) << block;
        ASSERT_EQ(newlineMaskShort(block.data(), 64), expected) << block;
        ASSERT_EQ(newlineMaskShort(block.data(), 17), expected & ((std::uint64_t{1} << 17) - 1));
    }
}

// Lines of every length from 0 to 199, so that line feeds fall on every
// place of the 64-byte blocks the reader scans, over three buffer refills,
// with separator lines skipped between them (which moves the reading past
// the scan) and a last line without a line feed.
TEST(LineReader, ReadsLinesOfEveryLengthAcrossItsScanBlocks) {
    std::string content;
    std::vector<std::string> lines;
    std::vector<bool> separatorAfter;
    for (int i = 0; i < 9000; ++i) {
        std::string line(static_cast<std::size_t>(i % 200), static_cast<char>('a' + i % 26));
        if (i % 7 == 3 && !line.empty()) line.back() = '>';
        content += line;
        content += i % 5 == 0 ? "\r\n" : "\n";
        lines.push_back(line);
        separatorAfter.push_back(i % 11 == 4);
        if (separatorAfter.back())
            content += std::string(static_cast<std::size_t>(i % 10), ' ') + "\n";
    }
    content += "no line feed";
    lines.push_back("no line feed");
    separatorAfter.push_back(false);
    ASSERT_GT(content.size(), std::size_t{3} << 18);

    test::TempReports dir;
    LineReader reader;
    ASSERT_TRUE(reader.open(dir.write("lines.xml", content)));
    for (std::size_t i = 0; i < lines.size(); ++i) {
        ASSERT_EQ(reader.readLine(), lines[i]) << i;
        if (separatorAfter[i]) reader.skipSeparator();
    }
    EXPECT_EQ(reader.readLine(), "");
    // Read again, each line after the one before kept.
    ASSERT_TRUE(reader.open(dir.write("lines.xml", content)));
    std::string_view before = reader.readLine();
    ASSERT_EQ(before, lines[0]);
    for (std::size_t i = 1; i < lines.size(); ++i) {
        if (separatorAfter[i - 1]) {
            reader.skipSeparator();
            before = reader.readLine();
            ASSERT_EQ(before, lines[i]) << i;
            continue;
        }
        const std::string_view line = reader.readLineAfter(before.data());
        const char* moved = reader.relocated();
        ASSERT_EQ(std::string_view(moved != nullptr ? moved : before.data(), before.size()),
                  lines[i - 1])
            << i;
        ASSERT_EQ(line, lines[i]) << i;
        before = line;
    }
}

// Lines read while the buffer is held keep their bytes, however the reading
// goes on: refills that would move them, a line that outgrows the buffer,
// another input opened; once dropped, the buffers serve again.
TEST(LineReader, HeldLinesKeepTheirBytes) {
    const std::size_t fill = std::size_t{1} << 18;
    std::string content;
    std::vector<std::string> expected;
    for (int i = 0; i < 20000; ++i) {
        expected.push_back("line " + std::to_string(i) +
                           std::string(static_cast<std::size_t>(i % 50), 'x'));
        content += expected.back() + "\n";
    }
    const std::string longLine(3 * fill, 'L');
    content += longLine + "\nend\n";
    test::TempReports dir;
    LineReader reader;
    for (int round = 0; round < 3; ++round) {
        ASSERT_TRUE(reader.open(dir.write("held.xml", content)));
        std::vector<std::shared_ptr<const void>> holds;
        std::vector<std::string_view> kept; // views into held buffers
        for (std::size_t i = 0; i < expected.size(); ++i) {
            const std::string_view line = reader.readLine();
            ASSERT_EQ(line, expected[i]) << i;
            if (i % 97 == 0) {
                holds.push_back(reader.holdBuffer());
                kept.push_back(line);
            }
        }
        ASSERT_EQ(reader.readLine(), longLine);
        ASSERT_EQ(reader.readLine(), "end");
        ASSERT_TRUE(reader.open(dir.write("other.xml", "other\n")));
        ASSERT_EQ(reader.readLine(), "other");
        for (std::size_t k = 0; k < kept.size(); ++k)
            ASSERT_EQ(kept[k], expected[k * 97]) << k;
    }
}

// Small inputs read while lines of each are held (as the batches handed to
// the merging thread hold them) share a buffer, which is given up only when
// it is full: hundreds of reports of a few KB take a few buffers, not one
// each.
TEST(LineReader, SmallInputsShareAHeldBuffer) {
    std::string content;
    for (int i = 0; i < 40; ++i)
        content += "<probe line=\"" + std::to_string(i) + "\" />\n";
    test::TempReports dir;
    const std::string path = dir.write("small.xml", content);
    LineReader reader;
    std::vector<std::shared_ptr<const void>> holds;
    std::vector<std::string_view> firstLines;
    std::set<const void*> buffers;
    constexpr std::size_t kInputs = 300;
    for (std::size_t input = 0; input < kInputs; ++input) {
        ASSERT_TRUE(reader.open(path));
        firstLines.push_back(reader.readLine());
        while (!reader.readLine().empty()) {
        }
        holds.push_back(reader.holdBuffer());
        buffers.insert(reader.bufferId());
    }
    const std::size_t fill = std::size_t{1} << 18;
    EXPECT_LE(buffers.size(), kInputs * content.size() / fill + 2);
    for (const std::string_view line : firstLines)
        ASSERT_EQ(line, "<probe line=\"0\" />");
}

TEST(LineReader, HasContentOnlyWhenACharacterCanBeRead) {
    test::TempReports dir;
    LineReader reader;
    ASSERT_TRUE(reader.open(dir.write("empty.xml", "")));
    EXPECT_FALSE(reader.hasContent());
    ASSERT_TRUE(reader.open(dir.write("one.xml", "\n")));
    EXPECT_TRUE(reader.hasContent());
    EXPECT_EQ(reader.readLine(), ""); // nothing was consumed by the test
    EXPECT_FALSE(reader.open(dir.path("missing.xml")));
    ASSERT_TRUE(reader.open(dir.path(""))); // the directory itself opens...
    EXPECT_FALSE(reader.hasContent());      // ...but yields nothing
}

TEST(LineReader, SkipsSeparatorsOfAtMostNineCharacters) {
    const struct {
        std::string content; // separator line, then "<next>"
        std::string next;    // what the read after the skip gives
    } cases[] = {
        {"\n<next>\n", "<next>"},
        {"\r\n<next>\n", "<next>"},
        {"   \t\n<next>\n", "<next>"},
        {"123456789\n<next>\n", "<next>"},
        {"123456789\r\n<next>\n", "<next>"}, // the CR does not count
        {"1234567890\n<next>\n", "0"},       // the read continues at the tenth character
        {"123456789\rx\n<next>\n", "\rx"},
        {"<kiv_xml_report>\n<next>\n", "report>"},
        {"12345\r6\n<next>\n", "<next>"}, // a CR inside the line is a character
        {"", ""},                         // at the end of the input
        {"1234", ""},
    };
    test::TempReports dir;
    LineReader reader;
    for (const auto& c : cases) {
        ASSERT_TRUE(reader.open(dir.write("sep.xml", c.content)));
        reader.skipSeparator();
        EXPECT_EQ(reader.readLine(), c.next) << '"' << c.content << '"';
    }
}

TEST(LineReader, SkipsSeparatorAtABufferBoundary) {
    // The separator's line end is beyond the first buffer fill.
    const std::size_t fill = std::size_t{1} << 18;
    test::TempReports dir;
    LineReader reader;
    ASSERT_TRUE(
        reader.open(dir.write("b.xml", std::string(fill - 3, 'a') + "\n12345678\r\n<x>\n")));
    EXPECT_EQ(reader.readLine().size(), fill - 3);
    reader.skipSeparator();
    EXPECT_EQ(reader.readLine(), "<x>");
}

struct CutCase {
    std::string_view line;
    CutStart start;
    CutResult result;
    std::string_view element; // when Ok
};

TEST(CutLine, CutsElementLines) {
    using enum CutResult;
    const CutStart lt = CutStart::Bracket;
    const CutStart l = CutStart::LineAttribute;
    const CutCase cases[] = {
        {"\t<file_type>source</file_type>  ", lt, Ok, "<file_type>source</file_type>"},
        {"text <a>b</a> tail", lt, Ok, "<a>b</a>"},
        {"<a>x > y", lt, Ok, "<a>x >"},
        {"no bracket here", lt, NotAReport, ""},
        {"", lt, NotAReport, ""},
        {"<notice>open text", lt, Ok, "<notice>"},
        {"no element", lt, NotAReport, ""},
        // Without ">" only the first line of a probe, cut at its last value.
        {"  <probe type=\"if\" nesting=\"1\"  ", lt, Ok, "<probe type=\"if\" nesting=\"1\""},
        {"<probe", lt, NotAReport, ""},   // too short
        {"<probe x", lt, NotAReport, ""}, // nothing left at a quote
        // The second line of a probe.
        {"\t line=\"3\" count1=\"4\" descr=\"f()\" />", l, Ok,
         "line=\"3\" count1=\"4\" descr=\"f()\" />"},
        {"xx line=\"3\">", l, Ok, "line=\"3\">"},
        {"line", l, NotAReport, ""},
        {"count1=\"4\" />", l, NotAReport, ""}, // no "l" at all
        {"label=\"4\" />", l, NotAReport, ""},  // no "line="
        {"line=\"3\" descr=\"x\"", l, NotAReport, ""},
        // A probe that runs into the next probe.
        {"line=\"3\" descr=\"x\" <probe type=\"if\"", l, TooLong, ""},
        {"line=\"3\" <probe type", l, TooLong, ""},
    };
    for (const CutCase& c : cases) {
        std::string_view element = "untouched";
        EXPECT_EQ(cutLine(c.line, c.start, element), c.result) << '"' << c.line << '"';
        if (c.result == Ok) {
            EXPECT_EQ(element, c.element) << '"' << c.line << '"';
        }
    }
}

} // namespace
} // namespace kiv
