#pragma once

#include <string_view>

namespace kiv {

// The element and attribute strings by which the reader recognises the lines
// of a report. A line "contains" an element when its element part holds the
// string anywhere, so "<file" also matches "<file_type>": the reading steps
// test in an order that keeps such strings apart.
namespace element {

inline constexpr std::string_view kFile = "<file";
inline constexpr std::string_view kFileEnd = "</file>";
inline constexpr std::string_view kFileType = "<file_type>";
inline constexpr std::string_view kInstrumentationMode = "<instrumentation_mode>";
inline constexpr std::string_view kInclude = "<include";
inline constexpr std::string_view kFunction = "<function";
inline constexpr std::string_view kFunctionEnd = "</function>";
inline constexpr std::string_view kParameters = "<parameters>";
inline constexpr std::string_view kDefinedInFile = "<defined_in_file>";
inline constexpr std::string_view kDefinedAtLine = "<defined_at_line>";
inline constexpr std::string_view kCallCount = "<call_count>";
inline constexpr std::string_view kTotalExecutionCost = "<total_execution_cost>";
inline constexpr std::string_view kAverageExecutionCost = "<average_execution_cost>";
inline constexpr std::string_view kMaxExecutionCost = "<max_execution_cost>";
inline constexpr std::string_view kBody = "<body>";
inline constexpr std::string_view kBodyEnd = "</body>";
inline constexpr std::string_view kExecutionCostFunction = "<execution_cost_function>";
inline constexpr std::string_view kExecutionCostType = "<execution_cost_type>";
inline constexpr std::string_view kExecutionCostScaling = "<execution_cost_scaling>";
inline constexpr std::string_view kProbe = "<probe";
inline constexpr std::string_view kName = "name";
inline constexpr std::string_view kType = "type";
inline constexpr std::string_view kLine = "line";
inline constexpr std::string_view kScCount = "sc_count";
inline constexpr std::string_view kNesting = "nesting";
inline constexpr std::string_view kDescr = "descr";
inline constexpr std::string_view kCount1 = "count1";
inline constexpr std::string_view kCount2 = "count2";
inline constexpr std::string_view kEvalNo = "eval_no";
inline constexpr std::string_view kSubcondNo = "subcond_no";
inline constexpr std::string_view kReport = "<kiv_xml_report>";
inline constexpr std::string_view kHeaderInfo = "<header_info>";
inline constexpr std::string_view kHeaderInfoEnd = "</header_info>";
inline constexpr std::string_view kNotice = "<notice>";
inline constexpr std::string_view kNoticesEnd = "</kivpost_notices>";
inline constexpr std::string_view kKivpostVersion = "<kivpost_version>";
inline constexpr std::string_view kReportGenerated = "<report_generated>";
inline constexpr std::string_view kRequestedCoverageView = "<requested_coverage_view>";
inline constexpr std::string_view kFunctionSummary = "<function_summary>";
inline constexpr std::string_view kFunctionSummaryEnd = "</function_summary>";
inline constexpr std::string_view kStatementAvailable = "<statement_available>";
inline constexpr std::string_view kFileSummary = "<file_summary>";
inline constexpr std::string_view kFileSummaryEnd = "</file_summary>";
inline constexpr std::string_view kFileLines = "<lines>";
inline constexpr std::string_view kOverallSummary = "<overall_summary>";
inline constexpr std::string_view kOverallSummaryEnd = "</overall_summary>";
inline constexpr std::string_view kShownCoverageViews = "<shown_coverage_views>";
inline constexpr std::string_view kOverallLines = "<lines>";
inline constexpr std::string_view kMeasurementPoints = "<measurement_points>";

} // namespace element

} // namespace kiv
