// Probes in the usual form are read in one pass; that reading must give the
// record of the general one (split the attributes, check and convert them),
// and must leave every other form to it.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "model/coverage_function.hpp"
#include "reader/attributes.hpp"
#include "reader/probe_record.hpp"
#include "reader/probe_sink.hpp"
#include "reader/quote_search.hpp"
#include "reader/usual_probe.hpp"

namespace kiv {
namespace {

std::string describe(const ProbeRecord& r) {
    return std::string(r.typeName) + " line " + std::to_string(r.probeLine) + "/" +
           std::to_string(r.sourceLine) + "/" + std::to_string(r.directiveLine) + " counters " +
           std::to_string(r.counters[0]) + "," + std::to_string(r.counters[1]) + " class " +
           std::to_string(r.outcomeClass) + " nesting " + std::to_string(r.nesting) + " sc " +
           std::to_string(r.scCount) + " seq " + std::to_string(r.sequence) + " descr [" +
           r.description + "] context [" + r.context + "]";
}

// The general reading of the two lines, or "fault".
std::string generalRecord(std::string_view first, std::string_view second) {
    ProbeAttributes attributes;
    if (!splitProbeAttributes(first, second, attributes)) return "fault";
    ProbeTexts texts;
    if (takeProbeTexts(attributes, texts) != ProbeFault::None) return "fault";
    ProbeRecord record;
    record.context = "left over";
    fillProbeRecord(texts, record);
    return describe(record);
}

struct Case {
    std::string_view first; // the attribute text after "<probe "
    std::string_view second;
    bool usual; // read in one pass
};

const Case kCases[] = {
    {R"~(type="if" nesting="1")~", R"~(line="7" count1="3" count2="0" descr="a &gt; b" />)~", true},
    {R"~(type="switch" nesting="0")~", R"~(line="12" descr="switch (x)" />)~", true},
    {R"~(type="case" nesting="2")~", R"~(line="15" count1="690" descr="case 0:" />)~", true},
    {R"~(type="do_while" nesting="3")~", R"~(line="4" count2="5" descr="while (1)" />)~", true},
    {R"~(type="if" sc_count="4" nesting="1")~", R"~(line="1" count1="1" count2="2" descr="c" />)~",
     true},
    {R"~(type="multi_cond_t" eval_no="3" nesting="2")~",
     R"~(line="5" count1="9" descr="x &amp;&amp; y" />)~", true},
    {R"~(type="const_if" nesting="1")~", R"~(line="0" descr="" />)~", true},
    {R"~(type="ternary" nesting="1")~", R"~(line="8" count1="1" count2="1" descr="a ? b : c" />)~",
     true},
    {R"~(type="return" nesting="999999999")~",
     R"~(line="999999999" count1="999999999" count2="0" descr="return x/>y;" />)~", true},
    {R"~(type="if" nesting="1")~", "line=\"7\" count1=\"1\" descr=\"caf\xc3\xa9 > \x7f\" />", true},
    // Entities before, across and after every eight-byte step of the search.
    {R"~(type="if" nesting="1")~", R"~(line="7" descr="&amp;" />)~", true},
    {R"~(type="if" nesting="1")~", R"~(line="7" descr="abcdef&lt;" />)~", true},
    {R"~(type="if" nesting="1")~", R"~(line="7" descr="abcdefg&lt;" />)~", true},
    {R"~(type="if" nesting="1")~", R"~(line="7" descr="abcdefgh&lt;" />)~", true},
    {R"~(type="if" nesting="1")~", R"~(line="7" descr="abcdefghijklmno&quot;" />)~", true},
    {R"~(type="if" nesting="1")~", R"~(line="7" descr="abcdefghijklmnop" />)~", true},
    {R"~(type="if" nesting="1")~", R"~(line="7" descr="abcdefg" />)~", true},
    {R"~(type="if" nesting="1")~", R"~(line="7" descr="ab&cd" />)~", true},
    // Left to the general reading: numbers it reads otherwise or saturates...
    {R"~(type="if" nesting="1")~", R"~(line="010" descr="octal" />)~", false},
    {R"~(type="if" nesting="1")~", R"~(line="7" count1="4294967296" descr="d" />)~", false},
    {R"~(type="if" nesting="1")~", R"~(line="7" count1="1234567890" descr="d" />)~", false},
    {R"~(type="if" nesting="+1")~", R"~(line="7" descr="d" />)~", false},
    {R"~(type="if" nesting=" 1")~", R"~(line="7" descr="d" />)~", false},
    {R"~(type="if" nesting="1")~", R"~(line="7 " descr="d" />)~", false},
    {R"~(type="if" nesting="1")~", R"~(line="" descr="d" />)~", false},
    {R"~(type="if" nesting="1")~", R"~(line="0x1f" descr="d" />)~", false},
    {R"~(type="if" eval_no="03" nesting="1")~", R"~(line="7" descr="d" />)~", false},
    // ...types it rejects or must look up itself...
    {R"~(type="iff" nesting="1")~", R"~(line="7" descr="d" />)~", false},
    {R"~(type="if&amp;" nesting="1")~", R"~(line="7" descr="d" />)~", false},
    {R"~(type="" nesting="1")~", R"~(line="7" descr="d" />)~", false},
    // ...and attributes missing, repeated, added, in another order or spacing.
    {R"~(type="if")~", R"~(line="7" descr="d" />)~", false},
    {R"~(type="if" nesting="1")~", R"~(line="7" />)~", false},
    {R"~(type="if" nesting="1" other="x")~", R"~(line="7" descr="d" />)~", false},
    {R"~(type="if" sc_count="1" eval_no="2" nesting="1")~", R"~(line="7" descr="d" />)~", false},
    {R"~(nesting="1" type="if")~", R"~(line="7" descr="d" />)~", false},
    {R"~(type="if" nesting="1")~", R"~(line="7" count2="1" count1="2" descr="d" />)~", false},
    {R"~(type="if" nesting="1")~", R"~(line="7" descr="d" descr="e" />)~", false},
    {R"~(type="if" nesting="1")~", R"~(line="7" count1="1" count1="2" descr="d" />)~", false},
    {R"~(type="if" nesting="1")~", R"~(line="7"  descr="d" />)~", false},
    {R"~(type="if" nesting="1")~", R"~(line="7" descr="d"/>)~", false},
    {R"~(type="if" nesting="1")~", R"~(line="7" descr="d" /> )~", false},
    {R"~(type="if" nesting="1")~", R"~(line="7" descr="d />)~", false},
    {R"~(type="if"  nesting="1")~", R"~(line="7" descr="d" />)~", false},
    {R"~(type="if" nesting="1" )~", R"~(line="7" descr="d" />)~", false},
};

TEST(UsualProbe, GivesTheRecordOfTheGeneralReading) {
    for (const Case& c : kCases) {
        UsualProbe probe;
        const bool usual = readUsualProbe(c.first, c.second, probe);
        EXPECT_EQ(usual, c.usual) << c.first << " | " << c.second;
        if (!usual) continue;
        ProbeRecord record;
        record.context = "left over";
        record.sequence = 9;
        fillUsualRecord(probe, record);
        EXPECT_EQ(describe(record), generalRecord(c.first, c.second))
            << c.first << " | " << c.second;
    }
}

// Numbers of every length, in every attribute, with the bytes that follow
// them near or far: read as the general reading reads them, or declined.
TEST(UsualProbe, ReadsNumbersOfEveryLength) {
    std::vector<std::string> numbers = {"0", "00", "01", "0x1"};
    for (std::size_t digits = 1; digits <= 11; ++digits) {
        numbers.push_back(std::string(digits, '9'));
        numbers.push_back("1" + std::string(digits - 1, '0'));
        numbers.push_back(std::string("1234567890123").substr(0, digits));
        numbers.push_back("0" + std::string(digits, '7'));
        numbers.push_back(std::string(digits, '5') + "x");
        numbers.push_back(std::string(digits, '5') + "/");
        numbers.push_back(std::string(digits, '5') + ":");
    }
    std::size_t read = 0;
    for (const std::string& n : numbers) {
        for (int place = 0; place < 4; ++place) {
            const std::string number = "\"" + n + "\"";
            const std::string first =
                "type=\"if\" nesting=" + (place == 0 ? number : std::string("\"1\""));
            const std::string second = "line=" + (place == 1 ? number : std::string("\"2\"")) +
                                       " count1=" + (place == 2 ? number : std::string("\"3\"")) +
                                       " descr=\"d\" />";
            // A count just before the end of the line, with few bytes left.
            const std::string shortSecond =
                "line=\"2\" count2=" + (place == 3 ? number : std::string("\"4\"")) +
                " descr=\"\" />";
            for (const std::string& line : {second, shortSecond}) {
                UsualProbe probe;
                if (!readUsualProbe(first, line, probe)) continue;
                ++read;
                ProbeRecord record;
                fillUsualRecord(probe, record);
                EXPECT_EQ(describe(record), generalRecord(first, line)) << first << " | " << line;
            }
        }
    }
    EXPECT_GT(read, 100U);
}

// Every prefix of a usual probe's lines is declined or read as a whole
// probe: the reading never runs past the end of its lines.
TEST(UsualProbe, DeclinesEveryCutOfItsLines) {
    const std::string first = R"(type="if" eval_no="12" nesting="1")";
    const std::string second = R"(line="7" count1="3" count2="0" descr="abcdefghijk &amp; z" />)";
    UsualProbe probe;
    ASSERT_TRUE(readUsualProbe(first, second, probe));
    for (std::size_t cut = 0; cut < first.size(); ++cut) {
        const std::string part = first.substr(0, cut); // copied: nothing readable behind it
        EXPECT_FALSE(readUsualProbe(part, second, probe)) << part;
    }
    for (std::size_t cut = 0; cut < second.size(); ++cut) {
        const std::string part = second.substr(0, cut);
        EXPECT_FALSE(readUsualProbe(first, part, probe)) << part;
    }
}

// The closing quote, and whether an ampersand comes before it, for quotes
// and ampersands at every place of values of every length around the
// eight-byte steps of the search (an ampersand behind the quote, in the same
// step, does not count).
TEST(QuoteSearch, FindsTheQuoteAndTheEntitiesBeforeIt) {
    for (std::size_t length = 0; length <= 20; ++length) {
        for (std::size_t quote = 0; quote <= length; ++quote) {
            for (std::size_t amp = 0; amp <= length + 1; ++amp) {
                std::string text(length, 'x');
                if (quote < length) text[quote] = '"';
                if (amp < length && amp != quote) text[amp] = '&';
                text += "&&&&&&&&"; // bytes behind the end, never read as the value's
                const char* const begin = text.data();
                const char* const end = begin + length;
                bool entity = true;
                const char* found = findQuoteNotingEntity(begin, end, entity);
                const std::size_t expected = std::min(quote, length);
                ASSERT_EQ(static_cast<std::size_t>(found - begin), expected) << text;
                ASSERT_EQ(findQuote(begin, end), found) << text;
                const bool before = amp < expected;
                ASSERT_EQ(entity, before) << text << " " << length << " " << quote << " " << amp;
            }
        }
    }
}

std::vector<std::string> probesOf(const CoverageFunction& function) {
    std::vector<std::string> probes;
    for (const auto& [line, probe] : function.probes)
        probes.push_back(std::string(probe->typeName()) + " " + std::to_string(line) + " " +
                         std::to_string(probe->nesting) + " " + std::to_string(probe->counters[0]) +
                         "," + std::to_string(probe->counters[1]) + " " +
                         std::to_string(probe->outcomeClass) + " " +
                         std::to_string(probe->firstScCount()) + " [" +
                         std::string(probe->description.view()) + "]");
    return probes;
}

// Handed to the merging thread, a probe read in one pass arrives as it was
// read, over many batches.
TEST(UsualProbe, CrossesToTheMergingThreadUnchanged) {
    const FunctionHeader header;
    CoverageFunction direct("f", 1, "()", header);
    CoverageFunction merged("f", 1, "()", header);
    ProbeSink sink;
    sink.startThread();
    std::size_t count = 0;
    for (int round = 0; round < 4000; ++round) {
        for (const Case& c : kCases) {
            UsualProbe probe;
            if (!readUsualProbe(c.first, c.second, probe)) continue;
            ProbeRecord record;
            fillUsualRecord(probe, record);
            direct.addProbe(std::move(record));
            sink.addProbe(merged, probe);
            ++count;
        }
    }
    sink.finish();
    ASSERT_EQ(direct.probes.size(), count);
    EXPECT_EQ(probesOf(merged), probesOf(direct));
}

} // namespace
} // namespace kiv
