#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "model/records.hpp"
#include "reader/header_walk.hpp"
#include "reader/line_forms.hpp"
#include "reader/line_reader.hpp"
#include "reader/probe_record.hpp"
#include "reader/probe_sink.hpp"

namespace kiv {

class Coverage;
class CoverageFile;
class FileFilter;

// Reads kivpost reports into a Coverage, one after the other, section by
// section. What it keeps between reports is the line buffer and the two maps
// of the element scanner.
class ReportReader {
  public:
    explicit ReportReader(const FileFilter& filter);

    // Reads one report; every fault ends the run with a diagnostic, and the
    // report is closed on every way out.
    void read(const std::string& fileName, Coverage& coverage);
    // Reads the reports in their order while a second thread merges their
    // probes. The first fault ends the reading, as it would end a reading
    // of one report after the other.
    void readAll(std::span<const std::string_view> fileNames, Coverage& coverage);

  private:
    // Sections of a report, in their order.
    void readPrologue();
    void readHeader();
    void readNotices();
    void readFiles();
    void readOverallSummary();

    // A file element, from the line after its "<file" line to its
    // "</file_summary>" line.
    void readFileElement(const std::string& name);
    void readFileSummary(CoverageFile& file);
    // The source file, which must be known (from "<file_type>") by now.
    CoverageFile& requireSourceFile();

    // A function element, from the line after its "<function" line to its
    // "</function>" line.
    void readFunction();
    void readBody();
    void readFunctionSummary(const FunctionHeader& header);

    const FileFilter& filter_;
    LineReader lines_;
    ElementScanner scanner_;
    ProbeSink sink_;
    HeaderWalk walk_;
    Coverage* coverage_ = nullptr;
    std::string fileName_;
    ProbeRecord probe_; // reused: its description keeps its storage
    ProbeTexts texts_;  // reused, not made anew for every probe
};

} // namespace kiv
