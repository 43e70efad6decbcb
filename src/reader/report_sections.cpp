#include "diagnostics/raise.hpp"
#include "model/coverage.hpp"
#include "reader/element_table.hpp"
#include "reader/numbers.hpp"
#include "reader/report_reader.hpp"
#include "reader/version_check.hpp"

namespace kiv {

namespace {

// Releases the report and forgets its name however reading ends.
class OpenReport {
  public:
    OpenReport(LineReader& lines, ElementScanner& scanner, std::string& fileName)
        : lines_(lines), scanner_(scanner), fileName_(fileName) {}
    OpenReport(const OpenReport&) = delete;
    OpenReport& operator=(const OpenReport&) = delete;
    ~OpenReport() {
        lines_.close();
        scanner_.setInputName({});
        fileName_.clear();
    }

  private:
    LineReader& lines_;
    ElementScanner& scanner_;
    std::string& fileName_;
};

} // namespace

ReportReader::ReportReader(const FileFilter& filter)
    : filter_(filter), scanner_(lines_), walk_(filter, sink_) {
    sink_.takeLinesFrom(lines_);
}

void ReportReader::readAll(std::span<const std::string_view> fileNames, Coverage& coverage) {
    sink_.startThread();
    try {
        for (const std::string_view fileName : fileNames)
            read(std::string(fileName), coverage);
    } catch (...) {
        // Merging fails only before the probe being read, so its failure
        // comes first.
        if (std::exception_ptr failure = sink_.finishAfterFailure())
            std::rethrow_exception(failure);
        throw;
    }
    sink_.finish();
}

void ReportReader::read(const std::string& fileName, Coverage& coverage) {
    coverage_ = &coverage;
    fileName_ = fileName;
    scanner_.setInputName(fileName);
    sink_.setInputName(fileName);
    const OpenReport open(lines_, scanner_, fileName_);
    if (!lines_.open(fileName) || !lines_.hasContent()) raise(Unit::Reader, kEmptyInput, fileName);
    sink_.setReportSize(lines_.inputSize());

    readPrologue();
    readHeader();
    scanner_.skipSeparator();
    readNotices();
    scanner_.skipSeparator();
    readFiles();
}

void ReportReader::readPrologue() {
    // The XML declaration: any element will do.
    scanner_.readCutLine();
    scanner_.skipSeparator();
    if (scanner_.readCutLine().find(element::kReport) == std::string_view::npos)
        scanner_.notAReport();
    scanner_.skipSeparator();
    if (scanner_.readCutLine().find(element::kHeaderInfo) == std::string_view::npos)
        raise(Unit::Reader, kHeaderMissing, fileName_);
}

void ReportReader::readHeader() {
    bool versionSeen = false;
    for (;;) {
        scanner_.readTextElement();
        if (scanner_.contains(element::kKivpostVersion)) {
            const std::string_view version = scanner_.requireText(element::kKivpostVersion);
            if (!isAcceptedVersion(version)) raise(Unit::Reader, kOldVersion, version);
            coverage_->kivpostVersions.push_back(version);
            versionSeen = true;
        } else if (scanner_.contains(element::kReportGenerated)) {
            std::string entry = fileName_;
            entry += " (";
            entry += scanner_.requireText(element::kReportGenerated);
            entry += ')';
            coverage_->inputReports.push_back(entry);
        } else if (scanner_.contains(element::kRequestedCoverageView)) {
            coverage_->requestedCoverageViews.push_back(
                scanner_.requireText(element::kRequestedCoverageView));
        } else if (scanner_.contains(element::kExecutionCostFunction)) {
            coverage_->executionCostFunctions.push_back(
                scanner_.requireText(element::kExecutionCostFunction));
        } else if (scanner_.contains(element::kExecutionCostType)) {
            coverage_->executionCostTypes.push_back(
                scanner_.requireText(element::kExecutionCostType));
        } else if (scanner_.contains(element::kExecutionCostScaling)) {
            coverage_->executionCostScalings.push_back(
                readUnsigned(scanner_.requireText(element::kExecutionCostScaling)));
        }
        if (scanner_.contains(element::kHeaderInfoEnd)) {
            if (!versionSeen) raise(Unit::Reader, kHeaderMissing, fileName_);
            scanner_.texts().clear();
            return;
        }
    }
}

void ReportReader::readNotices() {
    // The opening line of the notices is read like any other and ignored.
    for (;;) {
        scanner_.readTextElement();
        if (scanner_.contains(element::kNotice)) {
            coverage_->notices.push_back(scanner_.requireText(element::kNotice));
            scanner_.texts().clear();
        }
        if (scanner_.contains(element::kNoticesEnd)) {
            scanner_.texts().clear();
            return;
        }
    }
}

void ReportReader::readFiles() {
    for (;;) {
        scanner_.readFileSectionElement();
        if (scanner_.contains(element::kFile)) {
            const std::string name(scanner_.requireAttribute(element::kName));
            scanner_.attributes().clear();
            readFileElement(name);
        } else if (scanner_.contains(element::kFileEnd)) {
            scanner_.texts().clear();
            scanner_.skipSeparator();
        } else if (scanner_.contains(element::kOverallSummary)) {
            readOverallSummary();
        }
        if (scanner_.contains(element::kOverallSummaryEnd)) return;
    }
}

void ReportReader::readOverallSummary() {
    for (;;) {
        scanner_.readTextElement();
        if (scanner_.contains(element::kShownCoverageViews)) {
            std::string views(scanner_.requireText(element::kShownCoverageViews));
            constexpr std::string_view kLower = "multicondition";
            const std::size_t at = views.find(kLower);
            if (at != std::string::npos) views.replace(at, kLower.size(), "multiCondition");
            coverage_->shownCoverageViewsInputs.push_back(views);
        } else if (scanner_.contains(element::kOverallLines)) {
            coverage_->overallLines.push_back(
                readUnsigned(scanner_.requireText(element::kOverallLines)));
        } else if (scanner_.contains(element::kMeasurementPoints)) {
            coverage_->measurementPoints.push_back(
                readUnsigned(scanner_.requireText(element::kMeasurementPoints)));
        }
        if (scanner_.contains(element::kOverallSummaryEnd)) return;
    }
}

} // namespace kiv
