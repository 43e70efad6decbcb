#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kiv::test {

// Composes a report in the layout kivpost writes: the prologue, a header, the
// notices, the given file elements and the overall summary, with the empty
// separator lines where the reader expects them.
struct ReportText {
    std::string version = "8.3.1";
    std::string generated = "Tue Dec  8 10:00:00 2026";
    std::string view = "As instrumented";
    std::string costFunction = "clock";
    std::string costType = "ticks";
    std::string scaling = "1";
    std::vector<std::string> notices;
    std::vector<std::string> files; // complete file elements, "<file ...>" to "</file>"
    std::string shownViews = "multicondition";
    std::string lines = "10";
    std::string points = "9";

    std::string text() const {
        std::string out = "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n"
                          "\n"
                          "<kiv_xml_report>\n"
                          "\n"
                          "<header_info>\n";
        out += "\t<kivpost_version>" + version + "</kivpost_version>\n";
        out += "\t<report_generated>" + generated + "</report_generated>\n";
        out += "\t<requested_coverage_view>" + view + "</requested_coverage_view>\n";
        out += "\t<execution_cost_function>" + costFunction + "</execution_cost_function>\n";
        out += "\t<execution_cost_type>" + costType + "</execution_cost_type>\n";
        out += "\t<execution_cost_scaling>" + scaling + "</execution_cost_scaling>\n";
        out += "</header_info>\n\n<kivpost_notices>\n";
        for (const std::string& notice : notices)
            out += "\t<notice>" + notice + "</notice>\n";
        out += "</kivpost_notices>\n\n";
        for (const std::string& file : files)
            out += file + "\n\n";
        out += "<overall_summary>\n";
        out += "\t<shown_coverage_views>" + shownViews + "</shown_coverage_views>\n";
        out += "\t<lines>" + lines + "</lines>\n";
        out += "\t<measurement_points>" + points + "</measurement_points>\n";
        out += "</overall_summary>\n</kiv_xml_report>\n";
        return out;
    }
};

// A probe element on its two lines; attributes before "line" go on the first.
inline std::string probe(std::string_view type, std::string_view firstLine,
                         std::string_view secondLine) {
    std::string out = "\t\t\t<probe type=\"";
    out += type;
    out += '"';
    if (!firstLine.empty()) {
        out += ' ';
        out += firstLine;
    }
    out += "\n\t\t\t ";
    out += secondLine;
    out += " />\n";
    return out;
}

// A function element with the given body lines.
inline std::string function(std::string_view name, std::string_view parameters,
                            std::string_view line, std::string_view body,
                            std::string_view calls = "1", std::string_view statement = "yes") {
    std::string out = "\t<function name=\"";
    out += name;
    out += "\">\n\t\t<parameters>";
    out += parameters;
    out += "</parameters>\n\t\t<defined_at_line>";
    out += line;
    out += "</defined_at_line>\n\t\t<call_count>";
    out += calls;
    out += "</call_count>\n\t\t<total_execution_cost>0</total_execution_cost>\n"
           "\t\t<max_execution_cost>0</max_execution_cost>\n\t\t<body>\n";
    out += body;
    out += "\t\t</body>\n\t\t<function_summary>\n\t\t\t<statement_available>";
    out += statement;
    out += "</statement_available>\n\t\t</function_summary>\n\t</function>\n";
    return out;
}

// A file element around the given body (functions and file-level probes).
inline std::string file(std::string_view name, std::string_view body,
                        std::string_view type = "source", std::string_view mode = "statement",
                        std::string_view lines = "20") {
    std::string out = "<file name=\"";
    out += name;
    out += "\">\n\t<file_type>";
    out += type;
    out += "</file_type>\n\t<instrumentation_mode>";
    out += mode;
    out += "</instrumentation_mode>\n";
    out += body;
    out += "\t<file_summary>\n\t\t<lines>";
    out += lines;
    out += "</lines>\n\t</file_summary>\n</file>";
    return out;
}

// A line-directive probe between functions.
inline std::string fileDirective(std::string_view line, std::string_view number,
                                 std::string_view header) {
    std::string out = "\t<probe type=\"linedir\"\n\t line=\"";
    out += line;
    out += "\" descr=\"#line ";
    out += number;
    out += " &quot;";
    out += header;
    out += "&quot;\" />\n";
    return out;
}

} // namespace kiv::test
