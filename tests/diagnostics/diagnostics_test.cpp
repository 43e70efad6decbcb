#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "diagnostics/diagnostic_record.hpp"
#include "diagnostics/error.hpp"
#include "diagnostics/message_table.hpp"
#include "diagnostics/raise.hpp"

namespace kiv {
namespace {

std::string thrownMessage(const std::function<void()>& body) {
    try {
        body();
    } catch (const Error& e) {
        return e.what();
    }
    return "<nothing thrown>";
}

TEST(DiagnosticRecord, ComposesPrefixCodeUnitLineAndMessage) {
    struct Case {
        int unit, code, line;
        std::vector<std::string> args;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {1, 6, 57, {"-q"}, "*** kivxmlmerge error 6 (1/57): Unknown option: -q"},
        {1, 10, 3, {}, "*** kivxmlmerge error 10 (1/3): No input XML file."},
        {1, 21, 9, {}, "*** kivxmlmerge error 21 (1/9): Output option missing."},
        {2,
         12,
         100,
         {"in.xml"},
         "*** kivxmlmerge error 12 (2/100): Input is not KIVEX XML report: in.xml"},
        {6,
         18,
         4,
         {"vector::_M_range_check"},
         "*** kivxmlmerge error 18 (6/4): Out of range exception: vector::_M_range_check"},
        {7,
         24,
         1,
         {"dir/out.txt"},
         "*** kivxmlmerge error 24 (7/1): Output file can not be opened: dir/out.txt"},
        {7, 25, 1, {"-"}, "*** kivxmlmerge error 25 (7/1): Output file write failed: -"},
        // A "%" in an argument is copied, never interpreted.
        {1, 6, 1, {"-%s%d%n"}, "*** kivxmlmerge error 6 (1/1): Unknown option: -%s%d%n"},
    };
    for (const Case& c : cases) {
        DiagnosticRecord record;
        record.setUnit(c.unit);
        record.setCode(c.code);
        for (const std::string& a : c.args)
            record.addArgument(a);
        EXPECT_EQ(record.compose(c.line), c.expected);
    }
}

TEST(DiagnosticRecord, WarningPrefixAndArgumentsClearedByComposition) {
    DiagnosticRecord record;
    record.setUnit(1);
    record.setCode(9);
    record.addArgument("a.xml");
    EXPECT_EQ(record.compose(5, false),
              "*** kivxmlmerge warning 9 (1/5): Input XML file does not exist: a.xml");
    // The argument was cleared: the next composition copies the message as it stands.
    EXPECT_EQ(record.compose(5),
              "*** kivxmlmerge error 9 (1/5): Input XML file does not exist: %s");
}

TEST(DiagnosticRecord, MisuseBecomesInternalError) {
    DiagnosticRecord third;
    third.setUnit(1);
    third.setCode(6);
    third.addArgument("a");
    third.addArgument("b");
    third.addArgument("c");
    EXPECT_EQ(third.compose(7), "*** kivxmlmerge error 20 (8/7): Internal error exception.");

    DiagnosticRecord missing;
    missing.setUnit(2);
    missing.setCode(12);
    missing.addArgument(static_cast<const char*>(nullptr));
    EXPECT_EQ(missing.compose(8), "*** kivxmlmerge error 20 (8/8): Internal error exception.");
}

TEST(DiagnosticRecord, LongArgumentsAreNeverTruncated) {
    const std::string name(100000, 'n');
    DiagnosticRecord record;
    record.setUnit(1);
    record.setCode(9);
    record.addArgument(name);
    const std::string line = record.compose(1);
    EXPECT_EQ(line.size(),
              std::string("*** kivxmlmerge error 9 (1/1): Input XML file does not exist: ").size() +
                  name.size());
    EXPECT_EQ(line.substr(line.size() - name.size()), name);
}

TEST(MessageTable, HasTwentyNineEntriesAndNoFormatBeyondPercentS) {
    EXPECT_TRUE(messageText(0).empty());
    EXPECT_TRUE(messageText(30).empty());
    for (int code = 1; code <= kMessageCount; ++code) {
        const std::string_view text = messageText(code);
        ASSERT_FALSE(text.empty()) << code;
        for (std::size_t i = text.find('%'); i != std::string_view::npos; i = text.find('%', i + 2))
            EXPECT_EQ(text.substr(i, 2), "%s") << code;
    }
    EXPECT_EQ(messageText(19), "Out of memory.");
    EXPECT_EQ(messageText(23), "Input line too long.");
    EXPECT_EQ(messageText(kLastMergeCode), "Output file write failed: %s");
    EXPECT_EQ(messageText(29), "Output option -lcov or -cobertura missing.");
}

TEST(Raise, ThrowsTheComposedLineWithTheCallersLine) {
    int line = 0;
    const std::string message = thrownMessage([&line] {
        line = __LINE__ + 1;
        raise(Unit::CommandLine, kUnknownOption, "-z");
    });
    EXPECT_EQ(message,
              "*** kivxmlmerge error 6 (1/" + std::to_string(line) + "): Unknown option: -z");
}

TEST(Raise, GuardRangeTurnsOutOfRangeIntoCode18WithItsMessage) {
    const std::string message = thrownMessage(
        [] { guardRange([]() -> int { throw std::out_of_range("index 7 >= size 2"); }, 42); });
    EXPECT_EQ(message,
              "*** kivxmlmerge error 18 (6/42): Out of range exception: index 7 >= size 2");
    EXPECT_EQ(guardRange([] { return 5; }), 5);
}

} // namespace
} // namespace kiv
