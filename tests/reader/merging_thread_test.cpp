// A run reads its reports on one thread and merges their probes on another;
// the model and the first error must be those of reading the reports one
// after the other on one thread.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "diagnostics/error.hpp"
#include "model/coverage.hpp"
#include "reader/kiv_parser.hpp"
#include "reader/reader_run.hpp"
#include "reader/report_builder.hpp"
#include "reader/temp_reports.hpp"
#include "support/model_dump.hpp"

namespace kiv {
namespace {

// Every report, one after the other, each merged completely before the next.
std::string readOneByOne(const std::vector<std::string>& paths) {
    Coverage coverage("1", {}, {}, {}, {"a", "b"});
    KIVParser parser(false, {}, {});
    try {
        for (const std::string& path : paths)
            parser.parse(path);
    } catch (const Error& e) {
        return e.what();
    }
    return dumpModel(coverage);
}

std::string readAsARun(const std::vector<std::string>& paths) {
    try {
        return dumpModel(*test::readReports(paths));
    } catch (const Error& e) {
        return e.what();
    }
}

// A function of many probes, several batches of them, with header code from
// a macro inside it; run changes the counters and leaves probes out.
std::string longFunction(int run, int probes) {
    std::string body =
        test::probe("function", "nesting=\"0\"", "line=\"10\" count1=\"1\" descr=\"f()\"");
    body += test::probe("linedir_in_function", "nesting=\"1\"",
                        "line=\"11\" descr=\"#line 2 &quot;C:\\src\\m.h&quot;\"");
    body += test::probe("if", "nesting=\"1\"",
                        "line=\"2\" count1=\"" + std::to_string(run) + "\" descr=\"if (M)\"");
    body += test::probe("linedir_in_function", "nesting=\"1\"",
                        "line=\"12\" descr=\"#line 13 &quot;C:\\src\\a.c&quot;\"");
    for (int i = 0; i < probes; ++i) {
        if (run == 2 && i % 1000 == 999) continue; // a later report lacks some probes
        const std::string line = std::to_string(20 + i / 3);
        body += test::probe(i % 3 == 0 ? "if" : "return", "sc_count=\"1\" nesting=\"1\"",
                            "line=\"" + line + "\" count1=\"" + std::to_string(run * i) +
                                "\" descr=\"s" + std::to_string(i % 3) + "\"");
    }
    body += test::probe("function_end", "nesting=\"0\"", "line=\"5000\" count1=\"1\" descr=\"}\"");
    return body;
}

std::string report(int run, int probes, const std::string& tail = {}) {
    test::ReportText report;
    std::string functions = test::function("f", "(void)", "10", longFunction(run, probes));
    functions += test::function(
        "g", "(int)", "6000",
        test::probe("function", "nesting=\"0\"", "line=\"6000\" count1=\"1\" descr=\"g()\"") + tail,
        "1", run == 3 ? "no" : "yes");
    report.files.push_back(test::file("C:\\src\\a.c", functions));
    return report.text();
}

TEST(MergingThread, MergesAsOneReportAfterTheOther) {
    test::TempReports dir;
    const std::vector<std::string> paths = {dir.write("r1.xml", report(1, 7000)),
                                            dir.write("r2.xml", report(2, 7000)),
                                            dir.write("r3.xml", report(3, 100))};
    const std::string expected = readOneByOne(paths);
    ASSERT_NE(expected.find("probe 2 if"), std::string::npos) << expected.substr(0, 2000);
    EXPECT_EQ(readAsARun(paths), expected);
}

// A header named like the header part of a function: functions are then added
// to the header part while probes that refer to it are being merged.
TEST(MergingThread, HeaderNamedLikeAHeaderPart) {
    const std::string intoPart =
        test::probe("function", "nesting=\"0\"", "line=\"10\" count1=\"1\" descr=\"f()\"") +
        test::probe("linedir_in_function", "nesting=\"1\"",
                    "line=\"11\" descr=\"#line 2 &quot;C:\\m.h&quot;\"") +
        test::probe("if", "nesting=\"1\"", "line=\"2\" count1=\"1\" descr=\"if (M)\"") +
        test::probe("linedir_in_function", "nesting=\"1\"",
                    "line=\"12\" descr=\"#line 13 &quot;C:\\a.c&quot;\"");
    std::string body;
    for (int i = 0; i < 3000; ++i)
        body +=
            test::function(std::string("f").append(std::to_string(i)), "(void)", "10", intoPart);
    body += test::fileDirective("20", "1", "c:\\a.c_f0(void)_10_c:\\m.h");
    for (int i = 0; i < 50; ++i)
        body += test::function(std::string("g").append(std::to_string(i)), "(void)",
                               std::to_string(i), intoPart);
    test::ReportText report;
    report.files.push_back(test::file("C:\\a.c", body));
    test::TempReports dir;
    const std::vector<std::string> paths = {dir.write("r1.xml", report.text()),
                                            dir.write("r2.xml", report.text())};
    const std::string expected = readOneByOne(paths);
    ASSERT_NE(expected.find("function g49"), std::string::npos) << expected.substr(0, 2000);
    EXPECT_EQ(readAsARun(paths), expected);
}

// Probes of the usual shape are split by the merging thread, which finds
// their faults behind the reading: the fault found first must be the first
// in report order, with the diagnostic of a run on one thread.
TEST(MergingThread, FirstErrorAfterManyProbes) {
    test::TempReports dir;
    const std::string bad =
        test::probe("no_such_type", "nesting=\"1\"", "line=\"6001\" descr=\"x\"");
    const std::string noDescription = test::probe("if", "nesting=\"1\"", "line=\"6001\"");
    const std::string unsplittable = test::probe("if", "nesting=\"1\"", "line=\"6001\" descr=\"x");
    // A line the reading thread rejects itself, later in the same body.
    const std::string readerFault = "\t\t\tno element here\n";
    const std::vector<std::string> cases[] = {
        {dir.write("a1.xml", report(1, 7000)), dir.write("a2.xml", report(2, 7000, bad))},
        {dir.write("b1.xml", report(1, 7000, bad)), dir.write("b2.xml", "")},
        {dir.write("c1.xml", report(1, 5000)), dir.write("c2.xml", "")},
        {dir.write("d1.xml", report(1, 7000, noDescription + readerFault))},
        {dir.write("e1.xml", report(1, 7000, unsplittable)), dir.write("e2.xml", "")},
        {dir.write("f1.xml", report(1, 7000, readerFault + bad))},
    };
    for (const std::vector<std::string>& paths : cases) {
        const std::string expected = readOneByOne(paths);
        EXPECT_EQ(expected.rfind("*** kivxmlmerge error", 0), 0U) << expected.substr(0, 200);
        EXPECT_EQ(readAsARun(paths), expected);
    }
}

} // namespace
} // namespace kiv
