// Attribute splitting, the first-value maps and the four line forms.
#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "diagnostics/error.hpp"
#include "reader/attributes.hpp"
#include "reader/first_value_map.hpp"
#include "reader/line_forms.hpp"
#include "reader/temp_reports.hpp"

namespace kiv {
namespace {

std::string valueOf(const FirstValueMap& map, std::string_view key) {
    const std::optional<std::string_view> value = map.find(key);
    return value ? std::string(*value) : "<absent>";
}

TEST(FirstValueMap, KeepsTheFirstValueAndFindsExactKeys) {
    FirstValueMap map;
    EXPECT_TRUE(map.insert("line", "3"));
    EXPECT_FALSE(map.insert("line", "4"));
    EXPECT_EQ(valueOf(map, "line"), "3");
    EXPECT_EQ(valueOf(map, "lin"), "<absent>");
    EXPECT_EQ(valueOf(map, "line "), "<absent>");
    map.clear();
    EXPECT_TRUE(map.empty());
    EXPECT_TRUE(map.insert("line", "5"));
    EXPECT_EQ(valueOf(map, "line"), "5");
}

// The attribute names of the reports have places of their own; any other
// key, however close to one of them, is stored apart.
TEST(FirstValueMap, AttributeNamesAndOtherKeysLiveSideBySide) {
    FirstValueMap map;
    const std::vector<std::string> names = {"name",     "type",      "line",    "descr",
                                            "count1",   "count2",    "nesting", "eval_no",
                                            "sc_count", "subcond_no"};
    const std::vector<std::string> others = {"Name", "typ", "lines", "count3", "<lines>", ""};
    for (const std::string& key : names)
        EXPECT_TRUE(map.insert(key, key + "-1")) << key;
    for (const std::string& key : others)
        EXPECT_TRUE(map.insert(key, key + "-1")) << key;
    for (const std::string& key : names)
        EXPECT_FALSE(map.insert(key, key + "-2")) << key;
    for (const std::string& key : others)
        EXPECT_FALSE(map.insert(key, key + "-2")) << key;
    EXPECT_EQ(map.size(), names.size() + others.size());
    for (const std::string& key : names)
        EXPECT_EQ(valueOf(map, key), key + "-1");
    for (const std::string& key : others)
        EXPECT_EQ(valueOf(map, key), key + "-1");
    map.clear();
    EXPECT_TRUE(map.empty());
    EXPECT_EQ(valueOf(map, "descr"), "<absent>");
    EXPECT_EQ(valueOf(map, "Name"), "<absent>");
}

TEST(FirstValueMap, StaysCorrectWhenItGrowsLarge) {
    FirstValueMap map;
    // Keys built by appending: g++ 12 warns wrongly (-Wrestrict) on
    // "literal" + std::string at -O3.
    auto key = [](int i) { return std::string(1, 'k').append(std::to_string(i)); };
    for (int i = 0; i < 1000; ++i)
        map.insert(key(i), std::to_string(i));
    for (int i = 0; i < 1000; ++i)
        EXPECT_FALSE(map.insert(key(i), "again"));
    EXPECT_EQ(map.size(), 1000u);
    EXPECT_EQ(valueOf(map, "k0"), "0");
    EXPECT_EQ(valueOf(map, "k999"), "999");
    map.clear();
    EXPECT_EQ(valueOf(map, "k999"), "<absent>");
    EXPECT_EQ(valueOf(map, "k0"), "<absent>");
}

TEST(SplitAttributes, SplitsNameValuePairs) {
    const struct {
        std::string_view text;
        std::string_view key;
        std::string_view value;
    } cases[] = {
        {R"(type="if" line="7" />)", "type", "if"},
        {R"(type="if" line="7" />)", "line", "7"},
        {R"(line="010">)", "line", "010"},
        {R"(descr="a &lt; b" />)", "descr", "a < b"},    // descr is unescaped
        {R"(name="&quot;x&quot;" />)", "name", "\"x\""}, // and name
        {R"(other="a &lt; b" />)", "other", "a &lt; b"}, // other values are not
        {R"(line="1" line="2" />)", "line", "1"},        // the first value stays
        {R"(descr="" />)", "descr", ""},
        {R"(a="1"x="2")", "", "2"}, // the character after a value is skipped, whatever it is
    };
    for (const auto& c : cases) {
        FirstValueMap map;
        ASSERT_TRUE(splitAttributes(c.text, map)) << c.text;
        EXPECT_EQ(valueOf(map, c.key), c.value) << c.text;
    }
}

TEST(SplitAttributes, RejectsTextThatCannotBeSplit) {
    for (std::string_view text : {
             R"(line="3"/>)",   // "/>" right after the quote leaves ">"
             R"(line="3"  />)", // two blanks leave " />"
             R"(line=3 />)",
             R"(line="3)",
             R"(garbage)",
         }) {
        FirstValueMap map;
        EXPECT_FALSE(splitAttributes(text, map)) << text;
    }
    FirstValueMap map;
    EXPECT_TRUE(splitAttributes("", map));
    EXPECT_TRUE(map.empty());
}

// The probe splitter must give exactly what the general splitter gives for
// every text it accepts, and leave every other text to the general one.
TEST(SplitProbeAttributes, AgreesWithTheGeneralSplitterOrDeclines) {
    const std::vector<std::string> names = {"name",     "type",      "line",    "descr",
                                            "count1",   "count2",    "nesting", "eval_no",
                                            "sc_count", "subcond_no"};
    const struct {
        std::string_view text;
        bool taken; // by the probe splitter
    } cases[] = {
        {R"(type="if" nesting="1" line="7" count1="3" count2="0" descr="a &gt; 0" />)", true},
        {R"(type="mcdc" line="7" sc_count="4" subcond_no="2" eval_no="11" descr="x" />)", true},
        {R"(type="if" line="1" line="2" descr="a" descr="b" />)", true}, // the first value stays
        {R"(type="if" line="1" descr="&amp;lt;" descr="&lt;" />)", true},
        {R"(name="&quot;n&quot;" type="if" line="1" descr="d" />)", true},
        {R"(type="if" line="1" descr="a &amp; b &#38; c &bogus;" />)", true},
        {R"(type="if" line="1" descr="" />)", true},
        {R"(type="if"xline="1"xdescr="d")", true}, // any one character separates
        {R"(type="if" line="1")", true},
        {"", true},
        {R"(type="if" other="1" descr="d" />)", false}, // a name of no place of its own
        {R"(type="if" Line="1" descr="d" />)", false},
        {R"(type="if" line="1"/>)", false}, // cannot be split
        {R"(type="if" line="1)", false},
        {R"(type=if line="1" />)", false},
    };
    for (const auto& c : cases) {
        FirstValueMap map;
        const bool general = splitAttributes(c.text, map);
        ProbeAttributes probe;
        ASSERT_EQ(splitProbeAttributes(c.text, probe), c.taken) << c.text;
        if (!c.taken) continue;
        ASSERT_TRUE(general) << c.text;
        for (const std::string& name : names) {
            const std::size_t slot = FirstValueMap::slotOf(name);
            EXPECT_EQ(probe.findInSlot(slot), map.findInSlot(slot)) << c.text << " " << name;
        }
    }
}

// The probe splitter looks for closing quotes eight bytes at a time: values
// of every length, of bytes near the quote's and above 127, ending the text
// or not, must split as the general splitter splits them.
TEST(SplitProbeAttributes, FindsTheClosingQuoteOfValuesOfAnyLength) {
    const std::string fillers[] = {"x", "\xa2", "#", "!\x23\xff"};
    const std::size_t descr = FirstValueMap::slotOf("descr");
    const std::size_t line = FirstValueMap::slotOf("line");
    for (const std::string& filler : fillers) {
        for (std::size_t length = 0; length <= 20; ++length) {
            std::string value;
            while (value.size() < length)
                value += filler[value.size() % filler.size()];
            value = value.substr(0, value.find('"')); // up to a quote in the filler
            for (const std::string_view end : {"", " />", "\""}) {
                const std::string text = "descr=\"" + value + "\" line=\"" +
                                         value.substr(0, length % 4) + "\"" + std::string(end);
                FirstValueMap map;
                const bool general = splitAttributes(text, map);
                ProbeAttributes probe;
                const bool split = splitProbeAttributes(text, probe);
                if (!general) {
                    EXPECT_FALSE(split) << text;
                    continue;
                }
                ASSERT_TRUE(split) << text;
                EXPECT_EQ(probe.rawInSlot(descr), map.findInSlot(descr)) << text;
                EXPECT_EQ(probe.rawInSlot(line), map.findInSlot(line)) << text;
            }
        }
    }
}

TEST(CloseAttributeText, TurnsTheLastBracketIntoASelfClosingEnd) {
    std::string out;
    closeAttributeText(R"(name="a>b">)", out);
    EXPECT_EQ(out, R"(name="a>b" />)");
    closeAttributeText(R"(name="x")", out);
    EXPECT_EQ(out, R"(name="x")");
}

// Reads the lines of content through a scanner.
class ScannerTest : public ::testing::Test {
  protected:
    void load(std::string_view content) {
        ASSERT_TRUE(lines_.open(dir_.write("forms.xml", content)));
        scanner_.setInputName("forms.xml");
    }
    std::string attribute(std::string_view key) { return valueOf(scanner_.attributes(), key); }
    std::string text(std::string_view key) { return valueOf(scanner_.texts(), key); }
    // The message part of the diagnostic that reading with form raises.
    template <typename Form> std::string failure(Form form) {
        try {
            form();
        } catch (const Error& e) {
            const std::string line = e.what();
            return line.substr(line.find("): ") + 3);
        }
        return "no error";
    }

    test::TempReports dir_;
    LineReader lines_;
    ElementScanner scanner_{lines_};
};

TEST_F(ScannerTest, TextElementForm) {
    load("  <file_type>source</file_type>\n"
         "<notice>open text\n"
         "<parameters>(int &amp;x)</parameters>\n"
         "<notice>second</notice>\n"
         "<kivpost_version a=\"1\">8.2</kivpost_version>\n"
         "<probe type=\"x\"\n");
    scanner_.readTextElement();
    EXPECT_EQ(scanner_.currentElement(), "<file_type>");
    EXPECT_EQ(text("<file_type>"), "source");
    scanner_.readTextElement(); // without a closing tag
    EXPECT_EQ(scanner_.currentElement(), "<notice>");
    EXPECT_EQ(text("<notice>"), "open text");
    scanner_.readTextElement();
    EXPECT_EQ(text("<parameters>"), "(int &x)"); // the one text that is unescaped
    scanner_.readTextElement();
    EXPECT_EQ(text("<notice>"), "open text"); // the first value stays
    scanner_.readTextElement();               // a tag with attributes is stored under itself
    EXPECT_TRUE(scanner_.contains("<kivpost_version"));
    EXPECT_EQ(text("<kivpost_version>"), "<absent>");
    EXPECT_EQ(text("<kivpost_version a=\"1\">"), "8.2");
    scanner_.readTextElement(); // no ">" at all: the whole element is the tag
    EXPECT_EQ(scanner_.currentElement(), "<probe type=\"x\"");
}

TEST_F(ScannerTest, FileSectionForm) {
    load("<file name=\"C:\\Src\\a &amp; b.c\">\n"
         "</file>\n"
         "<file>\n"
         "<overall_summary>\n");
    scanner_.readFileSectionElement();
    EXPECT_EQ(scanner_.currentElement(), "<file");
    EXPECT_EQ(attribute("name"), "C:\\Src\\a & b.c");
    scanner_.readFileSectionElement();
    EXPECT_EQ(scanner_.currentElement(), "</file>");
    EXPECT_EQ(text("</file>"), "");
    scanner_.attributes().clear();
    scanner_.readFileSectionElement(); // no blank: no attributes
    EXPECT_EQ(scanner_.currentElement(), "<file>");
    EXPECT_TRUE(scanner_.attributes().empty());
    scanner_.readFileSectionElement();
    EXPECT_EQ(scanner_.currentElement(), "<overall_summary>");
}

TEST_F(ScannerTest, FileBodyForm) {
    load("\t<include name=\"#include &quot;u.h&quot;\" />\n"
         "\t<probe type=\"linedir\"\n"
         "\t line=\"2\" descr=\"#line 1 &quot;u.h&quot;\" />\n"
         "\t<function name=\"f&lt;int&gt;\">\n"
         "\t<instrumentation_mode>statement</instrumentation_mode>\n");
    scanner_.readFileBodyElement();
    EXPECT_EQ(scanner_.currentElement(), "<include");
    EXPECT_EQ(attribute("name"), "#include \"u.h\"");
    scanner_.clearMaps();
    scanner_.readFileBodyElement();
    EXPECT_EQ(scanner_.currentElement(), "<probe");
    EXPECT_EQ(attribute("type"), "linedir");
    EXPECT_EQ(attribute("line"), "2");
    EXPECT_EQ(attribute("descr"), "#line 1 \"u.h\"");
    scanner_.clearMaps();
    scanner_.readFileBodyElement();
    EXPECT_EQ(scanner_.currentElement(), "<function");
    EXPECT_EQ(attribute("name"), "f<int>");
    scanner_.readFileBodyElement();
    EXPECT_EQ(scanner_.currentElement(), "<instrumentation_mode>");
    EXPECT_EQ(text("<instrumentation_mode>"), "statement");
}

TEST_F(ScannerTest, FunctionBodyForm) {
    load("\t\t\t<probe type=\"if\" sc_count=\"2\" nesting=\"1\"\r\n"
         "\t\t\t line=\"7\" count1=\"1\" count2=\"2\" descr=\"a &gt; 0\">\r\n"
         "\t\t\t<probe type=\"return\" line=\"8\" descr=\"r\" />\r\n"
         "\t\t</body>\r\n");
    scanner_.readFunctionBodyElement();
    EXPECT_EQ(scanner_.currentElement(), "<probe");
    // A probe of report attribute names only is split apart from the map.
    const ProbeAttributes* probe = scanner_.probeAttributes();
    ASSERT_NE(probe, nullptr);
    EXPECT_TRUE(scanner_.attributes().empty());
    EXPECT_EQ(probe->findInSlot(FirstValueMap::slotOf("sc_count")), "2");
    EXPECT_EQ(probe->findInSlot(FirstValueMap::slotOf("count2")), "2");
    EXPECT_EQ(probe->findInSlot(FirstValueMap::slotOf("descr")), "a > 0");
    // A probe on one line is an ordinary line: stored whole, no attributes.
    scanner_.readFunctionBodyElement();
    EXPECT_EQ(scanner_.probeAttributes(), nullptr);
    EXPECT_EQ(scanner_.currentElement(), "<probe type=\"return\" line=\"8\" descr=\"r\" />");
    EXPECT_TRUE(scanner_.attributes().empty());
    scanner_.readFunctionBodyElement();
    EXPECT_EQ(scanner_.currentElement(), "</body>");
}

// A probe of a function body is read the quick way when its lines have the
// usual shape; whatever the lines, the outcome (element, values, diagnostic,
// the line read next) must be the one of the general way, which the probes
// outside functions always take.
TEST_F(ScannerTest, FunctionBodyProbesReadAsTheGeneralWayReadsThem) {
    const std::vector<std::string> names = {"name",     "type",      "line",    "descr",
                                            "count1",   "count2",    "nesting", "eval_no",
                                            "sc_count", "subcond_no"};
    const std::string_view pairs[][2] = {
        {"\t\t\t<probe type=\"if\" nesting=\"1\"", "\t\t\t line=\"7\" descr=\"a &gt; b\" />"},
        {"<probe type=\"if\"", "line=\"7\" descr=\"d\" />"},
        {"  \t<probe type=\"if\" nesting=\"1\"  ",
         " line=\"7\" descr=\"d\" />  "},                                       // trailing blanks
        {"<probe type=\"if\" nesting=\"1\"", " line=\"7\" descr=\"a > b\" />"}, // ">" in a value
        {"<probe type=\"if\"", " line=\"7\" descr=\"d\">"},
        {"<probe type=\"if\"", " line=\"7\" descr=\"d\"/>"},
        {"<probe type=\"if\"", " xline=\"7\" descr=\"d\" />"},
        {"<probe type=\"if\"", " \tlabel line=\"7\" descr=\"d\" />"},
        {"<probe type=\"if\"", " line=\"7\" descr=\"d\" <probe type=\"x\""}, // too long
        {"<probe type=\"if\"", "line=\"7\" descr=\"d\""},
        {"<probe type=\"if\"\"", " line=\"7\" descr=\"d\" />"},
        {"<probe\ttype=\"if\"", " line=\"7\" descr=\"d\" />"},
        {"<probe type=\"if\" line=\"1\" line=\"2\"", " line=\"7\" descr=\"d\" descr=\"e\" />"},
        // The first line's last quote opens a value, or is not the closing
        // quote of its last value: joined, the lines split otherwise.
        {"<probe type=\"if\" descr=\"", "line=\"7\" x\" />"},
        {"<probe type=\"if\" nesting=\"", "line=\"7\" descr=\"d\" />"},
        {"<probe type=\"a\"b\"", "line=\"7\" descr=\"d\" />"},
        {"<probe type=\"a\" \"", "line=\"7\" descr=\"d\" />"},
        {"<probe \"", "line=\"7\" descr=\"d\" />"},
        {"<probe name=\"&lt;n&gt;\" type=\"if\"", "line=\"7\" descr=\"&amp;&quot;\" />"},
        {"<probe type=\"if\" other=\"o\"", "line=\"7\" descr=\"d\" />"},
        {"<probe type=\"if\"", "line=\"7\" other=\"o\" descr=\"d\" />"},
    };
    for (const auto& pair : pairs) {
        const std::string content =
            std::string(pair[0]) + "\n" + std::string(pair[1]) + "\n<next>\n";
        // The general way.
        load(content);
        scanner_.clearMaps();
        const std::string expectedFailure = failure([&] { scanner_.readFileBodyElement(); });
        const std::string expectedElement(scanner_.currentElement());
        std::map<std::string, std::string> expected;
        for (const std::string& name : names)
            expected[name] = attribute(name);
        const std::string expectedNext =
            expectedFailure == "no error" ? std::string(lines_.readLine()) : "";
        // The way of function bodies.
        load(content);
        scanner_.clearMaps();
        EXPECT_EQ(failure([&] { scanner_.readFunctionBodyElement(); }), expectedFailure) << content;
        if (expectedFailure != "no error") continue;
        EXPECT_EQ(scanner_.currentElement(), expectedElement) << content;
        for (const std::string& name : names) {
            const ProbeAttributes* probe = scanner_.probeAttributes();
            const std::optional<std::string_view> value =
                probe != nullptr ? probe->findInSlot(FirstValueMap::slotOf(name))
                                 : scanner_.attributes().find(name);
            EXPECT_EQ(value ? std::string(*value) : "<absent>", expected[name]) << content << name;
        }
        EXPECT_EQ(lines_.readLine(), expectedNext) << content;
    }
}

// A first line that holds a ">" anywhere (searched eight bytes at a time)
// is not of the usual shape: its element may end there.
TEST_F(ScannerTest, FirstProbeLineWithAGreaterThanIsNotUsual) {
    for (std::size_t length = 0; length <= 20; ++length) {
        for (std::size_t at = 0; at <= length; ++at) {
            const std::string type = std::string(at, 'a') + ">" + std::string(length - at, 'a');
            load("\t<probe type=\"" + type + "\" nesting=\"1\"\n line=\"7\" descr=\"d\" />\n");
            scanner_.clearMaps();
            scanner_.readFunctionBodyLines();
            EXPECT_FALSE(scanner_.usualProbe()) << type;
            // The ">" among the last bytes of the line.
            load("\t<probe type=\"" + std::string(length, 'a') + "\" nesting=\"" +
                 std::string(at, '1') + ">\"\n line=\"7\" descr=\"d\" />\n");
            scanner_.clearMaps();
            scanner_.readFunctionBodyLines();
            EXPECT_FALSE(scanner_.usualProbe()) << length << " " << at;
        }
        load("\t<probe type=\"" + std::string(length, 'a') +
             "\" nesting=\"1\"\n line=\"7\" descr=\"d\" />\n");
        scanner_.clearMaps();
        scanner_.readFunctionBodyLines();
        EXPECT_TRUE(scanner_.usualProbe()) << length;
    }
}

// Values left in the map before a probe (or a name of no place of its own)
// send the probe through the map, where the first value stored stays.
TEST_F(ScannerTest, FunctionBodyProbeGoesThroughTheMapWhenItMust) {
    load("<probe type=\"if\" nesting=\"1\"\n"
         " line=\"7\" descr=\"d\" />\n"
         "<probe type=\"if\" nesting=\"1\"\n"
         " line=\"8\" extra=\"e\" descr=\"d\" />\n");
    scanner_.attributes().insert("line", "3");
    scanner_.readFunctionBodyElement();
    EXPECT_EQ(scanner_.probeAttributes(), nullptr);
    EXPECT_EQ(attribute("line"), "3");
    EXPECT_EQ(attribute("type"), "if");
    scanner_.attributes().clear();
    scanner_.readFunctionBodyElement();
    EXPECT_EQ(scanner_.probeAttributes(), nullptr);
    EXPECT_EQ(attribute("line"), "8");
    EXPECT_EQ(attribute("extra"), "e");
}

// A usual probe is split where its two lines lie in the reader's buffer:
// its values stay right when the buffer is refilled between the lines.
TEST_F(ScannerTest, UsualProbeAcrossABufferRefill) {
    const std::size_t fill = std::size_t{1} << 18;
    const std::string first = "\t\t\t<probe type=\"if\" nesting=\"3\"";
    const std::string second = "\t\t\t line=\"17\" count1=\"5\" descr=\"a &lt; b\" />";
    for (std::size_t end = fill - first.size() - 3; end < fill + 3; ++end) {
        // The padding line ends at `end`; the probe's lines follow, and
        // enough after them to fill the buffer again.
        const std::string padding = "<" + std::string(end - 2, 'p') + ">";
        load(padding + "\n" + first + "\n" + second + "\n</body>\n" + std::string(fill, 'z'));
        scanner_.readFunctionBodyElement();
        ASSERT_EQ(scanner_.currentElement(), padding);
        scanner_.readFunctionBodyElement();
        ASSERT_TRUE(scanner_.usualProbe()) << end;
        const ProbeAttributes& probe = *scanner_.probeAttributes();
        EXPECT_EQ(probe.findInSlot(FirstValueMap::slotOf("type")), "if") << end;
        EXPECT_EQ(probe.findInSlot(FirstValueMap::slotOf("nesting")), "3") << end;
        EXPECT_EQ(probe.findInSlot(FirstValueMap::slotOf("line")), "17") << end;
        EXPECT_EQ(probe.findInSlot(FirstValueMap::slotOf("descr")), "a < b") << end;
        scanner_.readFunctionBodyElement();
        EXPECT_EQ(scanner_.currentElement(), "</body>");
    }
}

TEST_F(ScannerTest, MalformedLinesEndTheRun) {
    load("no element\n");
    EXPECT_EQ(failure([&] { scanner_.readTextElement(); }),
              "Input is not KIVEX XML report: forms.xml");

    load("<probe type=\"if\"\n"
         " line=\"1\" descr=\"x\" <probe type=\"else\"\n");
    EXPECT_EQ(failure([&] { scanner_.readFunctionBodyElement(); }), "Input line too long.");

    load("<probe type=\"if\"\n"
         " count1=\"1\" />\n");
    EXPECT_EQ(failure([&] { scanner_.readFunctionBodyElement(); }),
              "Input is not KIVEX XML report: forms.xml");

    load("<probe type=\"if\"\n"
         " line=\"1\" descr=\"x\"/>\n");
    EXPECT_EQ(failure([&] { scanner_.readFunctionBodyElement(); }),
              "Input is not KIVEX XML report: forms.xml");

    load("<file name=\"a.c\" >\n"); // two blanks before the closing " />"
    EXPECT_EQ(failure([&] { scanner_.readFileSectionElement(); }),
              "Input is not KIVEX XML report: forms.xml");

    load("<probe type=\"if\"\n"); // the second line is missing
    EXPECT_EQ(failure([&] { scanner_.readFileBodyElement(); }),
              "Input is not KIVEX XML report: forms.xml");
}

} // namespace
} // namespace kiv
