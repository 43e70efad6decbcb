#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "model/coverage.hpp"
#include "model/current_coverage.hpp"
#include "summary/escape.hpp"
#include "summary/input_entry.hpp"
#include "summary/summary_blocks.hpp"
#include "support/hand_model.hpp"
#include "summary/summary_state.hpp"
#include "summary/summary_writer.hpp"
#include "summary/xml_output.hpp"

namespace kiv {
namespace {

TEST(EscapeText, ReplacesTheFiveSpecialCharactersOnce) {
    struct Case {
        std::string text, expected;
    };
    const std::vector<Case> cases = {
        {"", ""},
        {"plain text", "plain text"},
        {"a&b", "a&amp;b"},
        {"<", "&lt;"},
        {">", "&gt;"},
        {"'", "&apos;"},
        {"\"", "&quot;"},
        // An entity already in the text is escaped again, but the entities
        // introduced by the replacement are not.
        {"&lt;", "&amp;lt;"},
        {"&amp;", "&amp;amp;"},
        {"x<&>'\"y", "x&lt;&amp;&gt;&apos;&quot;y"},
        {"operator<<(int& a)", "operator&lt;&lt;(int&amp; a)"},
        // Other bytes, including 8-bit ones, are copied unchanged.
        {"\xe4\xf6\xfc \t;", "\xe4\xf6\xfc \t;"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(escapeText(c.text), c.expected) << c.text;
}

TEST(InputEntry, SplitsAtTheLastOpeningParenthesis) {
    struct Case {
        std::string entry, name, generated;
    };
    const std::vector<Case> cases = {
        {"in.xml (Tue Dec  8 10:00:00 2026)", "in.xml", "Tue Dec  8 10:00:00 2026"},
        // Parentheses in the name are kept: only the last "(" splits.
        {"C:\\run (2)\\in.xml (Tue)", "C:\\run (2)\\in.xml", "Tue"},
        // Parentheses inside the generation time split there too.
        {"a.xml (Tue (x) 2026)", "a.xml (Tue", "x) 2026"},
        {"a.xml (Tue) (x)", "a.xml (Tue)", "x"},
        {"a.xml ()", "a.xml", ""},
        {"(gen)", "", "gen"},
        {"a.xml (open", "a.xml", "open"},
        {"no parenthesis", "no parenthesis", ""},
        {"", "", ""},
    };
    for (const Case& c : cases) {
        const InputEntryParts parts = splitInputEntry(c.entry);
        EXPECT_EQ(parts.name, c.name) << c.entry;
        EXPECT_EQ(parts.generated, c.generated) << c.entry;
    }
}

// A model built by hand, with the values the evaluation would leave.
class SummaryModel {
  public:
    explicit SummaryModel(std::vector<std::string> copyright = {"Copyright A", "Copyright B"})
        : coverage_(std::make_unique<Coverage>(
              "1.0.0.0", std::vector<std::string>{"-x", "s.xml", "a&b.xml"},
              std::vector<std::string>{}, std::vector<std::string>{}, std::move(copyright))) {}
    ~SummaryModel() {
        coverage_.reset();
        resetCurrentCoverage();
    }

    Coverage& coverage() { return *coverage_; }

    CoverageFile& file(const std::string& key, int type, const std::string& name,
                       bool chosen = true) {
        return coverage_->findOrCreateFile(key, type, name, chosen);
    }

    static CoverageFunction& function(CoverageFile& file, const std::string& name,
                                      std::uint32_t line, const std::string& parameters) {
        return test::insertFunction(file, name, line, parameters);
    }

  private:
    std::unique_ptr<Coverage> coverage_;
};

std::string summaryOf(const Coverage& coverage) {
    std::ostringstream out;
    writeSummary(coverage, out);
    return out.str();
}

TEST(Summary, WritesTheWholeDocument) {
    SummaryModel model;
    Coverage& c = model.coverage();
    c.kivpostVersions = {"8.3.1", "8.4.0"};
    c.inputReports = {"C:\\in (1)\\a.xml (Tue Dec  8 10:00:00 2026)",
                      "b&c.xml (Wed Dec  9 11:00:00 2026)"};
    c.reportGenerated = "Thu Jan  1 00:00:00 1970";
    c.requestedCoverageView = "As instrumented";
    c.executionCostFunctions = {"clock", "other"};
    c.executionCostTypes = {"ticks"};
    c.executionCostScalings = {4000000000u, 2};
    c.shownCoverageViews = "mixed function/decision";
    c.functions = 3;
    c.lines = 10;
    c.ter = 66;
    c.hits = 2;
    c.all = 3;
    c.statementTer = 50;
    c.statementHits = 1;
    c.statementAll = 2;
    c.statementNaFunctions = 1;

    // Key order decides the file order, not creation order.
    CoverageFile& header = model.file("c:\\src\\util.h", kHeaderFile, "C:\\Src\\util.h");
    CoverageFile& source = model.file("c:\\src\\calc.c", kSourceFile, "C:\\Src\\calc.c");
    CoverageFile& part =
        model.file("c:\\src\\calc.c_f()_3_c:\\src\\util.h", kHeaderPart, "C:\\Src\\util.h");
    CoverageFile& unchosen = model.file("c:\\src\\other.c", kSourceFile, "C:\\Src\\other.c", false);
    SummaryModel::function(part, "N.A.", 0, "( )");
    SummaryModel::function(unchosen, "hidden", 1, "()");

    source.instrumentationMode = "multicondition+timing";
    source.hasExecutionCost = true;
    source.addIncludedHeader("C:\\Src\\util.h");
    source.addIncludedHeader("C:\\Src\\a&b.h");
    source.addInclude("#include \"util.h\"");
    source.functions = 2;
    source.lines = 10;
    source.ter = 66;
    source.hits = 2;
    source.all = 3;
    source.statementTer = 50;
    source.statementHits = 1;
    source.statementAll = 2;
    source.statementNaFunctions = 1;
    CoverageFunction& later = SummaryModel::function(source, "both", 9, "(int a, int& b)");
    later.callCount = 3;
    later.totalExecutionCost = -12;
    later.averageExecutionCost = -4.0;
    later.maxExecutionCost = -2;
    later.ter = 50;
    later.hits = 1;
    later.all = 2;
    later.statementAvailable = "no";
    CoverageFunction& first = SummaryModel::function(source, "operator<", 3, "()");
    first.callCount = 4;
    first.totalExecutionCost = 9;
    first.averageExecutionCost = 2.25;
    first.maxExecutionCost = 3;
    first.hits = 1;
    first.all = 1;
    first.statementHits = 1;
    first.statementAll = 2;
    first.statementTer = 50;

    header.instrumentationMode = "function";
    header.functions = 1;
    CoverageFunction& square = SummaryModel::function(header, "square", 1, "(int x)");
    square.callCount = 7;
    square.totalExecutionCost = 70;
    square.averageExecutionCost = 10;
    square.maxExecutionCost = 12;

    const std::string expected =
        "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n"
        "\n"
        "<kiv_xmlmerge_report>\n"
        "\n"
        "\t<header_info>\n"
        "\t\t<kivpost_version>8.3.1</kivpost_version>\n"
        "\t\t<kivxmlmerge_version>1.0.0.0</kivxmlmerge_version>\n"
        "\t\t<copyright>Copyright A</copyright>\n"
        "\t\t<copyright>Copyright B</copyright>\n"
        "\t\t<xmlfiles>\n"
        "\t\t\t<xmlfile>\n"
        "\t\t\t\t<name>C:\\in (1)\\a.xml</name>\n"
        "\t\t\t\t<generated>Tue Dec  8 10:00:00 2026</generated>\n"
        "\t\t\t</xmlfile>\n"
        "\t\t\t<xmlfile>\n"
        "\t\t\t\t<name>b&amp;c.xml</name>\n"
        "\t\t\t\t<generated>Wed Dec  9 11:00:00 2026</generated>\n"
        "\t\t\t</xmlfile>\n"
        "\t\t</xmlfiles>\n"
        "\t\t<report_generated>Thu Jan  1 00:00:00 1970</report_generated>\n"
        "\t\t<requested_coverage_view>As instrumented</requested_coverage_view>\n"
        "\t\t<kivxmlmerge_options>-x s.xml a&amp;b.xml</kivxmlmerge_options>\n"
        "\t\t<execution_cost_function>clock</execution_cost_function>\n"
        "\t\t<execution_cost_type>ticks</execution_cost_type>\n"
        "\t\t<execution_cost_scaling>4000000000</execution_cost_scaling>\n"
        "\t</header_info>\n"
        "\n"
        "\t<file name=\"C:\\Src\\calc.c\">\n"
        "\t\t<file_type>source</file_type>\n"
        "\t\t<instrumentation_mode>multicondition+timing</instrumentation_mode>\n"
        "\t\t<include name=\"#include &quot;C:\\Src\\util.h&quot;\" />\n"
        "\t\t<include name=\"#include &quot;C:\\Src\\a&amp;b.h&quot;\" />\n"
        "\t\t<include name=\"#include &quot;util.h&quot;\" />\n"
        "\t\t<function name=\"operator&lt;\">\n"
        "\t\t\t<parameters>()</parameters>\n"
        "\t\t\t<defined_at_line>3</defined_at_line>\n"
        "\t\t\t<call_count>4</call_count>\n"
        "\t\t\t<total_execution_cost>9</total_execution_cost>\n"
        "\t\t\t<average_execution_cost>2.2</average_execution_cost>\n"
        "\t\t\t<max_execution_cost>3</max_execution_cost>\n"
        "\t\t\t<function_summary>\n"
        "\t\t\t\t<ter>100</ter>\n"
        "\t\t\t\t<hits>1</hits>\n"
        "\t\t\t\t<all>1</all>\n"
        "\t\t\t\t<statement_ter>50</statement_ter>\n"
        "\t\t\t\t<statement_hits>1</statement_hits>\n"
        "\t\t\t\t<statement_all>2</statement_all>\n"
        "\t\t\t\t<statement_available>yes</statement_available>\n"
        "\t\t\t</function_summary>\n"
        "\t\t</function>\n"
        "\t\t<function name=\"both\">\n"
        "\t\t\t<parameters>(int a, int&amp; b)</parameters>\n"
        "\t\t\t<defined_at_line>9</defined_at_line>\n"
        "\t\t\t<call_count>3</call_count>\n"
        "\t\t\t<total_execution_cost>-12</total_execution_cost>\n"
        "\t\t\t<average_execution_cost>-4.0</average_execution_cost>\n"
        "\t\t\t<max_execution_cost>-2</max_execution_cost>\n"
        "\t\t\t<function_summary>\n"
        "\t\t\t\t<ter>50</ter>\n"
        "\t\t\t\t<hits>1</hits>\n"
        "\t\t\t\t<all>2</all>\n"
        "\t\t\t\t<statement_ter>100</statement_ter>\n"
        "\t\t\t\t<statement_hits>0</statement_hits>\n"
        "\t\t\t\t<statement_all>0</statement_all>\n"
        "\t\t\t\t<statement_available>no</statement_available>\n"
        "\t\t\t</function_summary>\n"
        "\t\t</function>\n"
        "\t\t<file_summary>\n"
        "\t\t\t<functions>2</functions>\n"
        "\t\t\t<lines>10</lines>\n"
        "\t\t\t<ter>66</ter>\n"
        "\t\t\t<hits>2</hits>\n"
        "\t\t\t<all>3</all>\n"
        "\t\t\t<statement_ter>50</statement_ter>\n"
        "\t\t\t<statement_hits>1</statement_hits>\n"
        "\t\t\t<statement_all>2</statement_all>\n"
        "\t\t\t<statement_na_functions>1</statement_na_functions>\n"
        "\t\t</file_summary>\n"
        "\t</file>\n"
        "\n"
        "\t<file name=\"C:\\Src\\util.h\">\n"
        "\t\t<file_type>header</file_type>\n"
        "\t\t<instrumentation_mode>function</instrumentation_mode>\n"
        "\t\t<function name=\"square\">\n"
        "\t\t\t<parameters>(int x)</parameters>\n"
        "\t\t\t<defined_at_line>1</defined_at_line>\n"
        "\t\t\t<call_count>7</call_count>\n"
        "\t\t\t<total_execution_cost></total_execution_cost>\n"
        "\t\t\t<average_execution_cost></average_execution_cost>\n"
        "\t\t\t<max_execution_cost></max_execution_cost>\n"
        "\t\t\t<function_summary>\n"
        "\t\t\t\t<ter>100</ter>\n"
        "\t\t\t\t<hits>0</hits>\n"
        "\t\t\t\t<all>0</all>\n"
        "\t\t\t\t<statement_ter>100</statement_ter>\n"
        "\t\t\t\t<statement_hits>0</statement_hits>\n"
        "\t\t\t\t<statement_all>0</statement_all>\n"
        "\t\t\t\t<statement_available>yes</statement_available>\n"
        "\t\t\t</function_summary>\n"
        "\t\t</function>\n"
        "\t\t<file_summary>\n"
        "\t\t\t<functions>1</functions>\n"
        "\t\t\t<lines>0</lines>\n"
        "\t\t\t<ter>100</ter>\n"
        "\t\t\t<hits>0</hits>\n"
        "\t\t\t<all>0</all>\n"
        "\t\t\t<statement_ter>100</statement_ter>\n"
        "\t\t\t<statement_hits>0</statement_hits>\n"
        "\t\t\t<statement_all>0</statement_all>\n"
        "\t\t\t<statement_na_functions>0</statement_na_functions>\n"
        "\t\t</file_summary>\n"
        "\t</file>\n"
        "\n"
        "\t<overall_summary>\n"
        "\t\t<shown_coverage_views>mixed function/decision</shown_coverage_views>\n"
        "\t\t<files>1</files>\n"
        "\t\t<headers>1</headers>\n"
        "\t\t<functions>3</functions>\n"
        "\t\t<lines>10</lines>\n"
        "\t\t<ter>66</ter>\n"
        "\t\t<hits>2</hits>\n"
        "\t\t<all>3</all>\n"
        "\t\t<statement_ter>50</statement_ter>\n"
        "\t\t<statement_hits>1</statement_hits>\n"
        "\t\t<statement_all>2</statement_all>\n"
        "\t\t<statement_na_functions>1</statement_na_functions>\n"
        "\t</overall_summary>\n"
        "\n"
        "</kiv_xmlmerge_report>\n";
    EXPECT_EQ(summaryOf(c), expected);
    EXPECT_EQ(summaryCurrentFile(), nullptr);
    EXPECT_EQ(summaryCurrentFunction(), nullptr);
}

const std::string kZeroSummary = "\t<overall_summary>\n"
                                 "\t\t<shown_coverage_views></shown_coverage_views>\n"
                                 "\t\t<files>0</files>\n"
                                 "\t\t<headers>0</headers>\n"
                                 "\t\t<functions>0</functions>\n"
                                 "\t\t<lines>0</lines>\n"
                                 "\t\t<ter>100</ter>\n"
                                 "\t\t<hits>0</hits>\n"
                                 "\t\t<all>0</all>\n"
                                 "\t\t<statement_ter>100</statement_ter>\n"
                                 "\t\t<statement_hits>0</statement_hits>\n"
                                 "\t\t<statement_all>0</statement_all>\n"
                                 "\t\t<statement_na_functions>0</statement_na_functions>\n"
                                 "\t</overall_summary>\n"
                                 "\n"
                                 "</kiv_xmlmerge_report>\n";

TEST(Summary, WithoutChosenFilesWritesTheFixedZeroSummary) {
    SummaryModel model;
    Coverage& c = model.coverage();
    c.kivpostVersions = {"8.3.1"};
    c.inputReports = {"a.xml (Tue)"};
    c.executionCostFunctions = {"clock"};
    c.executionCostTypes = {"ticks"};
    c.executionCostScalings = {1};
    // Only a header part is chosen: the chosen file count stays 0. Counters
    // that hold values anyway are not reported.
    CoverageFile& part = model.file("k_part", kHeaderPart, "part.h");
    SummaryModel::function(part, "N.A.", 0, "( )");
    ASSERT_EQ(c.chosenFiles, 0u);
    c.shownCoverageViews = "function";
    c.ter = 7;
    c.hits = 9;
    c.statementTer = 3;
    c.functions = 4;

    const std::string text = summaryOf(c);
    EXPECT_EQ(text.find("<file "), std::string::npos);
    EXPECT_EQ(text.find("<function "), std::string::npos);
    const std::string tail = "\t</header_info>\n\n" + kZeroSummary;
    ASSERT_GE(text.size(), tail.size());
    EXPECT_EQ(text.substr(text.size() - tail.size()), tail);
}

TEST(Summary, EmptyHeaderListsGiveEmptyElements) {
    // A model with no input header values at all: nothing is read past the
    // end of a list, the elements stay empty.
    SummaryModel model(std::vector<std::string>{});
    const std::string text = summaryOf(model.coverage());
    const std::string expected =
        "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n"
        "\n"
        "<kiv_xmlmerge_report>\n"
        "\n"
        "\t<header_info>\n"
        "\t\t<kivpost_version></kivpost_version>\n"
        "\t\t<kivxmlmerge_version>1.0.0.0</kivxmlmerge_version>\n"
        "\t\t<copyright></copyright>\n"
        "\t\t<copyright></copyright>\n"
        "\t\t<xmlfiles>\n"
        "\t\t</xmlfiles>\n"
        "\t\t<report_generated></report_generated>\n"
        "\t\t<requested_coverage_view></requested_coverage_view>\n"
        "\t\t<kivxmlmerge_options>-x s.xml a&amp;b.xml</kivxmlmerge_options>\n"
        "\t\t<execution_cost_function></execution_cost_function>\n"
        "\t\t<execution_cost_type></execution_cost_type>\n"
        "\t\t<execution_cost_scaling></execution_cost_scaling>\n"
        "\t</header_info>\n"
        "\n" +
        kZeroSummary;
    EXPECT_EQ(text, expected);
}

TEST(SummaryFunctionBlock, CostsFollowTheCurrentFile) {
    struct Case {
        bool fileHasCost;
        bool insideFile;
        std::int32_t total;
        double average;
        std::int32_t max;
        std::string expected; // the three cost lines
    };
    const std::string empty = "\t\t\t<total_execution_cost></total_execution_cost>\n"
                              "\t\t\t<average_execution_cost></average_execution_cost>\n"
                              "\t\t\t<max_execution_cost></max_execution_cost>\n";
    auto costs = [](const std::string& t, const std::string& a, const std::string& m) {
        return "\t\t\t<total_execution_cost>" + t + "</total_execution_cost>\n" +
               "\t\t\t<average_execution_cost>" + a + "</average_execution_cost>\n" +
               "\t\t\t<max_execution_cost>" + m + "</max_execution_cost>\n";
    };
    const std::vector<Case> cases = {
        {true, true, 0, 0.0, 0, costs("0", "0.0", "0")},
        {true, true, 10, 3.3333333333333335, 5, costs("10", "3.3", "5")},
        {true, true, 7, 0.05, 1, costs("7", "0.1", "1")},
        {true, true, 7, 2.35, 1, costs("7", "2.4", "1")},
        {true, true, 1, 0.25, 1, costs("1", "0.2", "1")},
        {true, true, 2147483647, 2147483647.0, 2147483647,
         costs("2147483647", "2147483647.0", "2147483647")},
        {true, true, -2147483647 - 1, -1073741824.0, -5,
         costs("-2147483648", "-1073741824.0", "-5")},
        // Costs measured but the file does not carry them: empty elements.
        {false, true, 12, 4.0, 6, empty},
        // Outside any file block there is no file that carries costs.
        {true, false, 12, 4.0, 6, empty},
    };
    for (const Case& c : cases) {
        SummaryModel model;
        CoverageFile& file = model.file("f.c", kSourceFile, "f.c");
        file.hasExecutionCost = c.fileHasCost;
        CoverageFunction& function = SummaryModel::function(file, "f", 1, "()");
        function.totalExecutionCost = c.total;
        function.averageExecutionCost = c.average;
        function.maxExecutionCost = c.max;
        std::ostringstream stream;
        {
            XmlOutput out(stream);
            if (c.insideFile) {
                SummaryFileScope scope(file);
                writeFunctionBlock(function, out);
            } else {
                writeFunctionBlock(function, out);
            }
            out.finish();
        }
        const std::string text = stream.str();
        const std::size_t from = text.find("\t\t\t<total_execution_cost>");
        const std::size_t to = text.find("\t\t\t<function_summary>");
        ASSERT_NE(from, std::string::npos);
        ASSERT_NE(to, std::string::npos);
        EXPECT_EQ(text.substr(from, to - from), c.expected) << c.total << " " << c.average;
        EXPECT_EQ(summaryCurrentFunction(), nullptr);
    }
}

TEST(Summary, RepeatedRunsWriteTheSameText) {
    // The writer keeps no state from one document to the next.
    SummaryModel model;
    CoverageFile& file = model.file("f.c", kSourceFile, "f.c");
    file.hasExecutionCost = true;
    SummaryModel::function(file, "f", 1, "()").averageExecutionCost = 1.5;
    const std::string first = summaryOf(model.coverage());
    EXPECT_NE(first.find("<average_execution_cost>1.5</average_execution_cost>"),
              std::string::npos);
    EXPECT_EQ(summaryOf(model.coverage()), first);
}

} // namespace
} // namespace kiv
