// Whole reports read through the driver's input step, checked on the merged
// model.
#include <gtest/gtest.h>

#include <string>

#include "model/coverage.hpp"
#include "reader/example_report.hpp"
#include "reader/reader_run.hpp"
#include "reader/report_builder.hpp"
#include "reader/temp_reports.hpp"
#include "support/model_dump.hpp"

namespace kiv {
namespace {

using test::dumpSection;
using test::readReports;
using test::replaced;

// The report's own path varies from run to run.
std::string dumpWithout(const Coverage& coverage, const std::string& path, std::string_view as) {
    std::string dump = dumpModel(coverage);
    for (std::size_t at = dump.find(path); at != std::string::npos; at = dump.find(path, at))
        dump.replace(at, path.size(), as);
    return dump;
}

TEST(ReportReading, ExampleReport) {
    test::TempReports dir;
    const std::string path = dir.write("calc.xml", test::kExampleReport);
    const auto coverage = readReports({path});
    EXPECT_EQ(dumpWithout(*coverage, path, "calc.xml"), R"dump(versions: [8.3.1]
inputs: [calc.xml (Tue Dec  8 10:00:00 2026)]
requested views: [As instrumented]
cost functions: [clock]
cost types: [ticks]
cost scalings: 1
notices: [calc built with -O2]
shown views: [multiCondition]
overall lines: 10
measurement points: 9
counted: files=1 headers=1 chosen=2 others=0
file c:\src\calc.c
  type=1 file_type=source display=C:\Src\calc.c chosen=yes
  modes: [multicondition+timing]
  includes: [#include "util.h"]
  included headers: [C:\Src\util.h]
  line counts: 10
  function both(int a, int b) line=5
    calls=3 total=12 max=6 occurrences=0 statement_available=yes
    directive probe lines: 9
    directive numbers: 4
    first header: file=c:\src\calc.c name=both line=5 params=(int a, int b)
    probe 5 function "both()"
      type=1 seq=0 counters=3,0 class=2 nesting=0 merges=0 outcomes=1/1
      source lines: 5
      directive lines: 0
      sc_counts: 0
    probe 7 if "if (a > 0 && b > 0)"
      type=3 seq=0 counters=1,2 class=4 nesting=1 merges=0 outcomes=2/2
      source lines: 7
      directive lines: 0
      sc_counts: 2
    probe 7 multi_cond_t "1: T && T"
      type=6 seq=0 counters=1,0 class=2 nesting=1 merges=0 outcomes=1/1
      context="if (a > 0 && b > 0)"
      source lines: 7
      directive lines: 0
      sc_counts: 0
    probe 7 multi_cond_f "2: T && F"
      type=7 seq=0 counters=0,2 class=3 nesting=1 merges=0 outcomes=1/1
      context="if (a > 0 && b > 0)"
      source lines: 7
      directive lines: 0
      sc_counts: 0
    probe 7 multi_cond_f "3: F && _"
      type=7 seq=0 counters=0,0 class=3 nesting=1 merges=0 outcomes=0/1
      context="if (a > 0 && b > 0)"
      source lines: 7
      directive lines: 0
      sc_counts: 0
    probe 7 mcdc "1: 1 - 3; 2: 1 + 2"
      type=43 seq=0 counters=0,0 class=1 nesting=1 merges=0 outcomes=0/0
      context="if (a > 0 && b > 0)"
      source lines: 7
      directive lines: 0
      sc_counts: 0
    probe 8 return "return 1"
      type=2 seq=0 counters=1,0 class=2 nesting=1 merges=0 outcomes=1/1
      source lines: 8
      directive lines: 0
      sc_counts: 0
    probe 10 function_end "}"
      type=26 seq=0 counters=2,0 class=2 nesting=0 merges=0 outcomes=1/1
      source lines: 10
      directive lines: 0
      sc_counts: 0
file c:\src\util.h
  type=2 file_type=header display=C:\Src\util.h chosen=yes
  modes: [multicondition+timing]
  file includers: [C:\Src\calc.c]
  line counts:
  function square(int x) line=3
    calls=4 total=8 max=3 occurrences=0 statement_available=yes
    directive probe lines: 2
    directive numbers: 1
    first header: file=c:\src\util.h name=square line=3 params=(int x)
    probe 3 function "square()"
      type=1 seq=0 counters=4,0 class=2 nesting=0 merges=0 outcomes=1/1
      source lines: 3
      directive lines: 0
      sc_counts: 0
    probe 5 function_end "}"
      type=26 seq=0 counters=4,0 class=2 nesting=0 merges=0 outcomes=1/1
      source lines: 5
      directive lines: 0
      sc_counts: 0
)dump");
}

// A second source that includes the example's header: its square() is the
// same function as the one of calc.c.
constexpr const char* kMainReport = R"report(<?xml version="1.0" encoding="ISO-8859-1"?>

<kiv_xml_report>

<header_info>
<kivpost_version>9.0</kivpost_version>
<report_generated>Wed Dec  9 11:00:00 2026</report_generated>
<requested_coverage_view>Function</requested_coverage_view>
<execution_cost_function>clock</execution_cost_function>
<execution_cost_type>ticks</execution_cost_type>
<execution_cost_scaling>0x10</execution_cost_scaling>
</header_info>

<kivpost_notices>
<notice>main &amp; more</notice>
</kivpost_notices>

<file name="C:/Src/main.c">
<file_type>source</file_type>
<instrumentation_mode>multicondition+timing</instrumentation_mode>
<probe type="linedir"
 line="1" descr="#line 1 &quot;c:\src\UTIL.h&quot;" />
<function name="square">
<parameters>(int x)</parameters>
<defined_at_line>3</defined_at_line>
<call_count>4</call_count>
<total_execution_cost>8</total_execution_cost>
<max_execution_cost>3</max_execution_cost>
<body>
<probe type="function" nesting="0"
 line="3" count1="4" descr="square()" />
<probe type="function_end" nesting="0"
 line="5" count1="4" descr="}" />
</body>
<function_summary>
<statement_available>yes</statement_available>
</function_summary>
</function>
<probe type="linedir"
 line="7" descr="#line 2 &quot;C:/Src/main.c&quot;" />
<function name="main">
<parameters>()</parameters>
<defined_at_line>2</defined_at_line>
<call_count>1</call_count>
<total_execution_cost>1</total_execution_cost>
<max_execution_cost>1</max_execution_cost>
<body>
<probe type="function" nesting="0"
 line="2" count1="1" descr="main()" />
<probe type="function_end" nesting="0"
 line="4" count1="1" descr="}" />
</body>
<function_summary>
<statement_available>yes</statement_available>
</function_summary>
</function>
<file_summary>
<lines>4</lines>
</file_summary>
</file>

<overall_summary>
<shown_coverage_views>function</shown_coverage_views>
<lines>4</lines>
<measurement_points>4</measurement_points>
</overall_summary>
</kiv_xml_report>
)report";

TEST(ReportReading, MergesThreeReportsOneWithWindowsLineEnds) {
    // The second report is the example again, written with CR LF, by another
    // kivpost version and with other counts.
    std::string second = test::kExampleReport;
    second = replaced(second, "8.3.1", "8.2");
    second = replaced(second, "10:00:00", "12:00:00");
    second = replaced(second, "<call_count>4</call_count>", "<call_count>10</call_count>");
    second = replaced(second, "line=\"3\" count1=\"4\"", "line=\"3\" count1=\"4294967295\"");
    second = replaced(second, "<total_execution_cost>12<", "<total_execution_cost>-0x10<");
    second = replaced(second, "<max_execution_cost>6<", "<max_execution_cost>7<");
    second = replaced(second, "<lines>10</lines>", "<lines>12</lines>"); // the file's

    test::TempReports dir;
    const std::string first = dir.write("calc.xml", test::kExampleReport);
    const std::string crlf = dir.write("calc2.xml", test::withCrlf(second));
    const std::string main = dir.write("main.xml", kMainReport);
    const auto coverage = readReports({first, crlf, main});
    std::string dump = dumpWithout(*coverage, dir.path(""), "");

    EXPECT_EQ(dumpSection(dump, "versions"), R"dump(versions: [8.3.1] [8.2] [9.0]
inputs: [calc.xml (Tue Dec  8 10:00:00 2026)] [calc2.xml (Tue Dec  8 12:00:00 2026)] [main.xml (Wed Dec  9 11:00:00 2026)]
requested views: [As instrumented] [As instrumented] [Function]
cost functions: [clock] [clock] [clock]
cost types: [ticks] [ticks] [ticks]
cost scalings: 1 1 16
notices: [calc built with -O2] [calc built with -O2] [main &amp; more]
shown views: [multiCondition] [multiCondition] [function]
overall lines: 10 10 4
measurement points: 9 9 4
counted: files=2 headers=1 chosen=3 others=0
)dump");

    EXPECT_EQ(dumpSection(dump, "file c:\\src\\util.h"), R"dump(file c:\src\util.h
  type=2 file_type=header display=C:\Src\util.h chosen=yes
  modes: [multicondition+timing]
  file includers: [C:\Src\calc.c] [C:/Src/main.c]
  line counts:
  function square(int x) line=3
    calls=18 total=24 max=3 occurrences=2 statement_available=yes
    directive probe lines: 2 2 1
    directive numbers: 1 1 1
    first header: file=c:\src\util.h name=square line=3 params=(int x)
    probe 3 function "square()"
      type=1 seq=0 counters=4294967295,0 class=2 nesting=0 merges=2 outcomes=1/1
      source lines: 3 3 3
      directive lines: 0 0 0
      sc_counts: 0 0 0
    probe 5 function_end "}"
      type=26 seq=0 counters=12,0 class=2 nesting=0 merges=2 outcomes=1/1
      source lines: 5 5 5
      directive lines: 0 0 0
      sc_counts: 0 0 0
)dump");

    const std::string calc = dumpSection(dump, "file c:\\src\\calc.c");
    EXPECT_NE(calc.find("  included headers: [C:\\Src\\util.h]\n  line counts: 10 12\n"),
              std::string::npos)
        << calc;
    EXPECT_NE(calc.find("    calls=6 total=-4 max=7 occurrences=1 statement_available=yes\n"
                        "    directive probe lines: 9 9\n"
                        "    directive numbers: 4 4\n"),
              std::string::npos)
        << calc;
    EXPECT_NE(
        calc.find("    probe 7 multi_cond_f \"2: T && F\"\n"
                  "      type=7 seq=0 counters=0,4 class=3 nesting=1 merges=1 outcomes=1/1\n"),
        std::string::npos)
        << calc;
    EXPECT_NE(calc.find("    probe 7 if \"if (a > 0 && b > 0)\"\n"
                        "      type=3 seq=0 counters=2,4 class=4 nesting=1 merges=1 outcomes=2/2\n"
                        "      source lines: 7 7\n"
                        "      directive lines: 0 0\n"
                        "      sc_counts: 2 2\n"),
              std::string::npos)
        << calc;

    const std::string mainFile = dumpSection(dump, "file c:\\src\\main.c");
    EXPECT_NE(mainFile.find("  type=1 file_type=source display=C:/Src/main.c chosen=yes\n"
                            "  modes: [multicondition+timing]\n"
                            "  included headers: [C:\\Src\\util.h]\n"
                            "  line counts: 4\n"
                            "  function main() line=2\n"
                            "    calls=1 total=1 max=1 occurrences=0 statement_available=yes\n"
                            "    directive probe lines: 7\n"
                            "    directive numbers: 2\n"),
              std::string::npos)
        << mainFile;
}

// --- Header extraction -------------------------------------------------------

std::string counted(std::string_view line, std::string_view count1, std::string_view descr) {
    std::string out = "line=\"";
    out += line;
    out += "\" count1=\"";
    out += count1;
    out += "\" descr=\"";
    out += descr;
    out += '"';
    return out;
}

std::string simpleFunction(std::string_view name, std::string_view line, std::string_view end) {
    return test::function(
        name, "(void)", line,
        test::probe("function", "nesting=\"0\"", counted(line, "1", std::string(name) + "()")) +
            test::probe("function_end", "nesting=\"0\"", counted(end, "1", "}")));
}

std::string readAndDump(const std::vector<std::string>& reports) {
    test::TempReports dir;
    std::vector<std::string> paths;
    for (std::size_t i = 0; i < reports.size(); ++i)
        paths.push_back(
            dir.write(std::string(1, 'r').append(std::to_string(i)).append(".xml"), reports[i]));
    return dumpModel(*readReports(paths));
}

TEST(HeaderExtraction, HeaderSharedByTwoSourcesIsOneFile) {
    test::ReportText report;
    report.files = {
        test::file("a.c",
                   test::fileDirective("1", "1", "h.h") + simpleFunction("max", "2", "4") +
                       test::fileDirective("5", "6", "h.h") + simpleFunction("min", "7", "9") +
                       test::fileDirective("12", "3", "a.c") + simpleFunction("run", "3", "5")),
        test::file("b.c", test::fileDirective("1", "1", "h.h") + simpleFunction("max", "2", "4") +
                              test::fileDirective("4", "2", "b.c") +
                              simpleFunction("go", "2", "3")),
    };
    const std::string dump = readAndDump({report.text()});

    EXPECT_NE(dump.find("counted: files=2 headers=1 chosen=3 others=0\n"), std::string::npos);
    const std::string header = dumpSection(dump, "file h.h");
    EXPECT_NE(header.find("  type=2 file_type=header display=h.h chosen=yes\n"
                          "  modes: [statement]\n"
                          "  file includers: [a.c] [b.c]\n"
                          "  line counts:\n"
                          "  function max(void) line=2\n"
                          "    calls=2 total=0 max=0 occurrences=1 statement_available=yes\n"
                          "    directive probe lines: 1 1\n"
                          "    directive numbers: 1 1\n"),
              std::string::npos)
        << header;
    EXPECT_NE(header.find("  function min(void) line=7\n"
                          "    calls=1 total=0 max=0 occurrences=0 statement_available=yes\n"
                          "    directive probe lines: 5\n"
                          "    directive numbers: 6\n"),
              std::string::npos)
        << header;

    const std::string a = dumpSection(dump, "file a.c");
    EXPECT_NE(a.find("  included headers: [h.h]\n  line counts: 20\n  function run(void) line=3\n"
                     "    calls=1 total=0 max=0 occurrences=0 statement_available=yes\n"
                     "    directive probe lines: 12\n    directive numbers: 3\n"),
              std::string::npos)
        << a;
    EXPECT_EQ(a.find("function max"), std::string::npos) << a;
    const std::string b = dumpSection(dump, "file b.c");
    EXPECT_NE(b.find("  included headers: [h.h]\n  line counts: 20\n  function go(void) line=2\n"),
              std::string::npos)
        << b;
}

TEST(HeaderExtraction, DirectiveBackToTheSourceCreatesNoHeader) {
    test::ReportText report;
    report.files = {test::file("C:\\Src\\a.c", test::fileDirective("1", "1", "c:/SRC/A.C") +
                                                   simpleFunction("f", "2", "4"))};
    const std::string dump = readAndDump({report.text()});
    EXPECT_NE(dump.find("counted: files=1 headers=0 chosen=1 others=0\n"
                        "file c:\\src\\a.c\n"
                        "  type=1 file_type=source display=C:\\Src\\a.c chosen=yes\n"
                        "  modes: [statement]\n"
                        "  line counts: 20\n"
                        "  function f(void) line=2\n"
                        "    calls=1 total=0 max=0 occurrences=0 statement_available=yes\n"
                        "    directive probe lines: 1\n"
                        "    directive numbers: 1\n"
                        "    first header: file=c:\\src\\a.c name=f line=2 params=(void)\n"),
              std::string::npos)
        << dump;
    EXPECT_EQ(dump.find("\nfile ", dump.find("file c:\\src\\a.c") + 1), std::string::npos) << dump;
}

// f() of a.c runs through code of m.h and comes back.
std::string headerPartReport(std::string_view ifCounts) {
    const std::string body =
        test::probe("function", "nesting=\"0\"", counted("10", "2", "f()")) +
        test::probe("linedir_in_function", "nesting=\"1\"",
                    "line=\"12\" descr=\"#line 3 &quot;m.h&quot;\"") +
        test::probe("if", "nesting=\"1\"",
                    "line=\"4\" " + std::string(ifCounts) + " descr=\"if (m)\"") +
        test::probe("linedir_in_function", "nesting=\"1\"",
                    "line=\"13\" descr=\"#line 14 &quot;a.c&quot;\"") +
        test::probe("function_end", "nesting=\"0\"", counted("15", "2", "}"));
    test::ReportText report;
    report.files = {test::file("a.c", test::function("f", "(void)", "10", body, "2"))};
    return report.text();
}

TEST(HeaderExtraction, HeaderCodeInsideAFunctionBecomesAHeaderPart) {
    const std::string dump = readAndDump(
        {headerPartReport("count1=\"1\" count2=\"1\""), headerPartReport("count1=\"5\"")});
    EXPECT_NE(dump.find("counted: files=1 headers=0 chosen=1 others=1\n"), std::string::npos);
    EXPECT_EQ(dumpSection(dump, "file a.c"), R"dump(file a.c
  type=1 file_type=source display=a.c chosen=yes
  modes: [statement]
  header parts: [m.h]
  line counts: 20 20
  function f(void) line=10
    calls=4 total=0 max=0 occurrences=1 statement_available=yes
    directive probe lines: 0 0
    directive numbers: 0 0
    header parts: [m.h]
    first header: file=a.c name=f line=10 params=(void)
    probe 10 function "f()"
      type=1 seq=0 counters=4,0 class=2 nesting=0 merges=1 outcomes=1/1
      source lines: 10 10
      directive lines: 0 0
      sc_counts: 0 0
    probe 12 linedir_in_function "#line 3 "m.h""
      type=51 seq=0 counters=0,0 class=1 nesting=1 merges=1 outcomes=0/0
      source lines: 12 12
      directive lines: 3 3
      sc_counts: 0 0
      owner=a.c_f(void)_10_m.h
    probe 14 linedir_in_function "#line 14 "a.c""
      type=51 seq=0 counters=0,0 class=1 nesting=1 merges=1 outcomes=0/0
      source lines: 13 13
      directive lines: 14 14
      sc_counts: 0 0
      owner=a.c
    probe 15 function_end "}"
      type=26 seq=0 counters=4,0 class=2 nesting=0 merges=1 outcomes=1/1
      source lines: 15 15
      directive lines: 0 0
      sc_counts: 0 0
)dump");
    EXPECT_EQ(dumpSection(dump, "file a.c_f(void)_10_m.h"), R"dump(file a.c_f(void)_10_m.h
  type=3 file_type=header display=m.h chosen=yes
  modes: [statement]
  function includers: [a.c]
  line counts:
  function N.A.( ) line=0
    calls=0 total=0 max=0 occurrences=1 statement_available=yes
    directive probe lines: 0 0
    directive numbers: 0 0
    first header: file=a.c name=f line=10 params=(void)
    probe 4 if "if (m)"
      type=3 seq=0 counters=6,1 class=4 nesting=1 merges=1 outcomes=2/2
      source lines: 4 4
      directive lines: 0 0
      sc_counts: 0 0
)dump");
}

TEST(HeaderExtraction, BodyEndingInsideHeaderCodeHandsOnTheFollowingFunctions) {
    const std::string intoHeader =
        test::probe("function", "nesting=\"0\"", counted("10", "1", "f()")) +
        test::probe("linedir_in_function", "nesting=\"1\"",
                    "line=\"11\" descr=\"#line 30 &quot;m.h&quot;\"") +
        test::probe("return", "nesting=\"1\"", counted("31", "1", "return"));
    test::ReportText report;
    report.files = {
        test::file("a.c", test::function("f", "(void)", "10", intoHeader) +
                              simpleFunction("g", "40", "42")),
        test::file("b.c", simpleFunction("h", "1", "2")),
    };
    const std::string dump = readAndDump({report.text()});
    EXPECT_NE(dump.find("counted: files=2 headers=1 chosen=3 others=1\n"), std::string::npos);
    const std::string a = dumpSection(dump, "file a.c\n");
    EXPECT_NE(a.find("  included headers: [m.h]\n  header parts: [m.h]\n"), std::string::npos) << a;
    EXPECT_EQ(a.find("function g"), std::string::npos) << a;
    EXPECT_NE(dumpSection(dump, "file m.h")
                  .find("  type=2 file_type=header display=m.h chosen=yes\n"
                        "  modes: [statement]\n"
                        "  function includers: [a.c]\n"
                        "  line counts:\n"
                        "  function g(void) line=40\n"
                        "    calls=1 total=0 max=0 occurrences=0 statement_available=yes\n"
                        "    directive probe lines: 0\n"
                        "    directive numbers: 0\n"
                        "    first header: file=m.h name=g line=40 params=(void)\n"),
              std::string::npos)
        << dump;
    // The next file element starts afresh.
    EXPECT_NE(dumpSection(dump, "file b.c").find("  function h(void) line=1\n"), std::string::npos)
        << dump;
}

// --- Values of single elements -----------------------------------------------

TEST(ReportReading, ProbeAttributesAndFunctionValues) {
    const std::string body =
        test::probe("function", "", "line=\"010\" count1=\"0x10\" descr=\"f&lt;T&gt;()\"") +
        test::probe("ternary", "nesting=\"2\"", counted("20", "1", "t1")) +
        test::probe("if", "", counted("20", "1", "i")) +
        test::probe("ternary", "", counted("20", "1", "t2")) +
        test::probe("ternary", "", counted("20", "1", "t3")) +
        test::probe("ternary", "", counted("21", "1", "t4")) +
        test::probe("ternary", "", counted("20", "1", "t5")) +
        test::probe("const_while", "", counted("22", "0", "c1")) +
        test::probe("const_while", "", "line=\"23\" count2=\"3\" descr=\"c2\"") +
        test::probe("sub_cond", "eval_no=\"&lt;1\" sc_count=\"3\" subcond_no=\"2\"",
                    "line=\"24\" line=\"99\" descr=\"a &amp;&amp; b\"");
    std::string function = test::function("operator&lt;", "(int &amp;x)", "0x8", body, "-1", "no");
    function = replaced(function, "<total_execution_cost>0", "<total_execution_cost>-7");
    function = replaced(function, "<max_execution_cost>0", "<max_execution_cost>");
    function = replaced(function, "<body>",
                        "<defined_in_file>x.c</defined_in_file>\n"
                        "<average_execution_cost>3.5</average_execution_cost>\n<body>");
    function = replaced(function, "</function_summary>", "<lines>7</lines>\n</function_summary>");
    test::ReportText report;
    report.notices = {"a &amp; b", "<second>"};
    report.files = {test::file("x.c", function)};
    const std::string dump = readAndDump({report.text()});

    EXPECT_NE(dump.find("notices: [a &amp; b] []\n"), std::string::npos) << dump;
    const std::string x = dumpSection(dump, "file x.c");
    const std::string expectedFunction = R"dump(  function operator<(int &x) line=8
    calls=4294967295 total=-7 max=0 occurrences=0 statement_available=no
    directive probe lines: 0
    directive numbers: 0
    first header: file=x.c name=operator< line=8 params=(int &x)
    probe 8 function "f<T>()"
      type=1 seq=0 counters=16,0 class=2 nesting=0 merges=0 outcomes=1/1
      source lines: 8
      directive lines: 0
      sc_counts: 0
    probe 20 ternary "t1"
      type=17 seq=0 counters=1,0 class=4 nesting=2 merges=0 outcomes=1/2
      source lines: 20
      directive lines: 0
      sc_counts: 0
    probe 20 if "i"
      type=3 seq=0 counters=1,0 class=4 nesting=0 merges=0 outcomes=1/2
      source lines: 20
      directive lines: 0
      sc_counts: 0
    probe 20 ternary "t2"
      type=17 seq=1 counters=1,0 class=4 nesting=0 merges=0 outcomes=1/2
      source lines: 20
      directive lines: 0
      sc_counts: 0
    probe 20 ternary "t3"
      type=17 seq=2 counters=1,0 class=4 nesting=0 merges=0 outcomes=1/2
      source lines: 20
      directive lines: 0
      sc_counts: 0
    probe 20 ternary "t5"
      type=17 seq=0 counters=1,0 class=4 nesting=0 merges=0 outcomes=1/2
      source lines: 20
      directive lines: 0
      sc_counts: 0
    probe 21 ternary "t4"
      type=17 seq=0 counters=1,0 class=4 nesting=0 merges=0 outcomes=1/2
      source lines: 21
      directive lines: 0
      sc_counts: 0
    probe 22 const_while "c1"
      type=29 seq=0 counters=0,0 class=5 nesting=0 merges=0 outcomes=0/1
      source lines: 22
      directive lines: 0
      sc_counts: 0
    probe 23 const_while "c2"
      type=29 seq=0 counters=0,3 class=6 nesting=0 merges=0 outcomes=1/1
      source lines: 23
      directive lines: 0
      sc_counts: 0
    probe 24 sub_cond "&lt;1: a && b"
      type=42 seq=0 counters=0,0 class=4 nesting=0 merges=0 outcomes=0/2
      context="c2"
      source lines: 24
      directive lines: 0
      sc_counts: 3
)dump";
    EXPECT_NE(x.find(expectedFunction), std::string::npos) << x;
    // The function summary's own "<lines>" is not the file's.
    EXPECT_NE(x.find("  line counts: 20\n"), std::string::npos) << x;
}

TEST(ReportReading, FileLevelProbeOfAnyTypeIsADirective) {
    test::ReportText report;
    report.files = {
        test::file("a.c", "\t<probe type=\"no such type\"\n"
                          "\t line=\"4\" descr=\"#line 0x10 &quot;h.h&quot; flags\" />\n" +
                              simpleFunction("f", "2", "3"))};
    const std::string dump = readAndDump({report.text()});
    EXPECT_NE(dump.find("  function f(void) line=2\n"
                        "    calls=1 total=0 max=0 occurrences=0 statement_available=yes\n"
                        "    directive probe lines: 4\n"
                        "    directive numbers: 16\n"
                        "    first header: file=h.h name=f line=2 params=(void)\n"),
              std::string::npos)
        << dump;
}

TEST(ReportReading, RepeatedHeaderValuesAndEmptySections) {
    // Each version line is checked and appended, with the first value of the
    // report (values wait in a first-value map until the header ends).
    test::ReportText report;
    report.version = "8.2</kivpost_version>\n<kivpost_version>7.0";
    report.shownViews = "multicondition, multicondition";
    const std::string dump = readAndDump({report.text()});
    EXPECT_NE(dump.find("versions: [8.2] [8.2]\n"), std::string::npos) << dump;
    EXPECT_NE(dump.find("notices:\n"), std::string::npos) << dump;
    EXPECT_NE(dump.find("shown views: [multiCondition, multicondition]\n"), std::string::npos)
        << dump;
    EXPECT_NE(dump.find("counted: files=0 headers=0 chosen=0 others=0\n"), std::string::npos)
        << dump;
}

TEST(ReportReading, DriveLettersAndFileFilters) {
    Settings settings;
    settings.noDriveLetter = true;
    settings.chosenPatterns = {"*A.C"};
    test::ReportText first;
    first.files = {test::file("C:\\Src\\a.c", test::fileDirective("1", "1", "C:\\Src\\h.h") +
                                                  simpleFunction("f", "2", "3"))};
    test::ReportText second;
    second.files = {test::file("D:/src//A.C", simpleFunction("g", "5", "6"))};
    test::TempReports dir;
    settings.addInput(dir.write("1.xml", first.text()));
    settings.addInput(dir.write("2.xml", second.text()));
    const std::string dump = dumpModel(*readReports(settings));
    EXPECT_NE(dump.find("counted: files=1 headers=0 chosen=1 others=0\n"
                        "file \\src\\a.c\n"
                        "  type=1 file_type=source display=\\Src\\a.c chosen=yes\n"
                        "  modes: [statement]\n"
                        "  included headers: [\\Src\\h.h]\n"
                        "  line counts: 20 20\n"
                        "  function g(void) line=5\n"),
              std::string::npos)
        << dump;
    EXPECT_NE(dump.find("file \\src\\h.h\n"
                        "  type=2 file_type=header display=\\Src\\h.h chosen=no\n"),
              std::string::npos)
        << dump;
}

TEST(ReportReading, SeparatorLinesMayHoldUpToNineCharacters) {
    std::string text = test::kExampleReport;
    text = replaced(text, "?>\n\n<kiv", "?>\n         \n<kiv");
    text = replaced(text, "</header_info>\n\n", "</header_info>\n\t\t\r\n");
    const std::string dump = readAndDump({test::withCrlf(text)});
    EXPECT_NE(dump.find("measurement points: 9\n"), std::string::npos) << dump;
}

TEST(ReportReading, LinesOfAnyLength) {
    const std::string longName(100000, 'n');
    test::ReportText report;
    report.notices = {longName};
    report.files = {test::file("a.c", simpleFunction(longName, "1", "2"))};
    const std::string dump = readAndDump({report.text()});
    EXPECT_NE(dump.find("notices: [" + longName + "]\n"), std::string::npos);
    EXPECT_NE(dump.find("  function " + longName + "(void) line=1\n"), std::string::npos);
}

} // namespace
} // namespace kiv
