// The merging thread splits the usual probes of a body from their two lines;
// whatever the lines, its record or its diagnostic must be the reader's.
#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "diagnostics/diagnostic_record.hpp"
#include "diagnostics/error.hpp"
#include "reader/line_forms.hpp"
#include "reader/probe_lines.hpp"
#include "reader/probe_record.hpp"
#include "reader/reader_run.hpp"
#include "reader/temp_reports.hpp"

namespace kiv {
namespace {

std::string describe(const ProbeRecord& r) {
    return std::string(r.typeName) + " line " + std::to_string(r.probeLine) + "/" +
           std::to_string(r.sourceLine) + " counters " + std::to_string(r.counters[0]) + "," +
           std::to_string(r.counters[1]) + " class " + std::to_string(r.outcomeClass) +
           " nesting " + std::to_string(r.nesting) + " sc " + std::to_string(r.scCount) +
           " descr [" + r.description + "]";
}

// The record (or diagnostic) as the reader makes it, the scanner splitting
// the probe.
std::string byTheReader(ElementScanner& scanner, const ElementScanner::ProbeLines&) {
    scanner.splitUsualProbe();
    ProbeTexts texts;
    const ProbeFault fault = scanner.probeAttributes() != nullptr
                                 ? takeProbeTexts(*scanner.probeAttributes(), texts)
                                 : takeProbeTexts(scanner.attributes(), texts);
    if (fault != ProbeFault::None) raiseProbeFault(fault, scanner.inputName(), diagnosticRecord());
    ProbeRecord record;
    fillProbeRecord(texts, record);
    return describe(record);
}

std::string byTheMergingThread(ElementScanner& scanner, const ElementScanner::ProbeLines& lines) {
    BodyProbeLines probeLines;
    probeLines.setInputName(scanner.inputName());
    ProbeRecord record;
    probeLines.toRecord(lines.first, lines.second, record);
    return describe(record);
}

template <typename Way> std::string read(const std::string& content, Way way) {
    test::TempReports dir;
    LineReader reader;
    EXPECT_TRUE(reader.open(dir.write("p.xml", content)));
    ElementScanner scanner(reader);
    scanner.setInputName("p.xml");
    scanner.readFunctionBodyLines();
    if (!scanner.usualProbe()) return "not a usual probe";
    try {
        return way(scanner, scanner.usualProbeLines());
    } catch (const Error& e) {
        return "error: " + std::string(e.what());
    }
}

TEST(BodyProbeLines, MakesTheReadersRecordOrDiagnostic) {
    const struct {
        std::string_view first;
        std::string_view second;
        bool fault; // the reader ends the run
    } cases[] = {
        {"\t\t\t<probe type=\"if\" nesting=\"1\"",
         "\t\t\t line=\"7\" count1=\"3\" count2=\"0\" descr=\"a &gt; b\" />", false},
        {"<probe type=\"mcdc\" sc_count=\"4\"",
         "line=\"9\" eval_no=\"2\" descr=\"x &amp;&amp; y\" />", false},
        {"<probe type=\"const_if\"", "line=\"0x1f\" count1=\"-1\" descr=\"&lt;&quot;\" />", false},
        {"<probe type=\"if\" line=\"1\" line=\"2\"", "line=\"7\" descr=\"d\" descr=\"e\" />",
         false},
        {"<probe type=\"if\" nesting=\"1\"", "line=\"\" descr=\"d\" xline=\"7\" />", false},
        // Declined by the splitter: joined, or through the attribute map.
        {"<probe type=\"if\" other=\"o\"", "line=\"7\" descr=\"&amp;\" />", false},
        {"<probe type=\"if\"", "line=\"7\" other=\"o\" descr=\"d\" />", false},
        {"<probe type=\"if\" name=\"&lt;n&gt;\"", "line=\"7\" descr=\"d\" />", false},
        {"<probe type=\"a\"b\"", "line=\"7\" descr=\"d\" />", true},
        {"<probe type=\"if\" descr=\"", "line=\"7\" x\" />", true},
        // An unknown type, no description, text that cannot be split. (A
        // usual second line begins with the line.)
        {"<probe type=\"no_such_type\"", "line=\"7\" descr=\"d\" />", true},
        {"<probe type=\"if\" nesting=\"1\"", "line=\"7\" />", true},
        {"<probe type=\"if\" nesting=\"1\"", "line=\"7\" descr=\"d />", true},
        {"<probe type=\"if\" nesting=\"1\"", "line=\"7\" descr=d />", true},
        {"<probe type=\"if\" nesting=\"1\"", "line=\"7\" 1234 />", true},
    };
    for (const auto& c : cases) {
        const std::string content = std::string(c.first) + "\n" + std::string(c.second) + "\n";
        const std::string expected = read(content, byTheReader);
        ASSERT_NE(expected, "not a usual probe") << content;
        EXPECT_EQ(expected.starts_with("error: "), c.fault) << content << expected;
        EXPECT_EQ(read(content, byTheMergingThread), expected) << content;
    }
}

} // namespace
} // namespace kiv
