// The texts of Cobertura XML: Latin-1 names as UTF-8 character data, and
// rates.

#include <gtest/gtest.h>

#include <string>

#include "cobertura/cobertura_text.hpp"

namespace kiv {
namespace {

TEST(CoberturaText, Latin1BecomesXmlCharacterDataInUtf8) {
    struct Row {
        std::string latin1;
        std::string xml;
    };
    const Row rows[] = {
        {"a&b<c>\"d'", "a&amp;b&lt;c&gt;&quot;d&apos;"},
        {"\t\n\r", "&#9;&#10;&#13;"},
        {std::string("\x01\x1f", 2) + '\0', "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"},
        {"\x7f caf\xe9 \x80\xff", "\x7f caf\xC3\xA9 \xC2\x80\xC3\xBF"},
    };
    for (const Row& row : rows) {
        std::string out = "x";
        appendXmlText(out, row.latin1);
        EXPECT_EQ(out, "x" + row.xml);
    }
}

TEST(CoberturaText, RatesAreRoundedDownToFourPlaces) {
    struct Row {
        std::uint64_t covered;
        std::uint64_t valid;
        const char* rate;
    };
    const Row rows[] = {
        {0, 0, "1"},
        {5, 5, "1"},
        {0, 5, "0"},
        {1, 2, "0.5"},
        {2, 3, "0.6666"},
        {10, 11, "0.909"},
        {1, 10000, "0.0001"},
        {1, 10001, "0"},
        {99999, 100000, "0.9999"},
        {UINT64_MAX - 1, UINT64_MAX, "0.9999"},
    };
    for (const Row& row : rows) {
        std::string out;
        appendRate(out, row.covered, row.valid);
        EXPECT_EQ(out, row.rate) << row.covered << "/" << row.valid;
    }
}

} // namespace
} // namespace kiv
