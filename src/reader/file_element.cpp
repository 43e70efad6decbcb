#include "model/coverage.hpp"
#include "model/file_identity.hpp"
#include "reader/element_table.hpp"
#include "reader/numbers.hpp"
#include "reader/report_reader.hpp"

namespace kiv {

CoverageFile& ReportReader::requireSourceFile() {
    CoverageFile* source = walk_.sourceFile();
    if (source == nullptr) scanner_.notAReport();
    return *source;
}

void ReportReader::readFileElement(const std::string& name) {
    const bool noDriveLetter = filter_.noDriveLetter();
    const std::string key = normaliseName(name, noDriveLetter);
    const std::string display = displayName(name, noDriveLetter);
    const bool chosen = filter_.isChosen(display);

    walk_.beginFile(*coverage_);
    for (;;) {
        scanner_.readFileBodyElement();
        // Substring tests: the order keeps "<file_type>" and "<file_summary>"
        // apart and "<function" from "<function_summary>".
        if (scanner_.contains(element::kFileType)) {
            const bool source = scanner_.requireText(element::kFileType) == "source";
            walk_.setSourceFile(coverage_->findOrCreateFile(key, source ? kSourceFile : kHeaderFile,
                                                            display, chosen));
        } else if (scanner_.contains(element::kInstrumentationMode)) {
            CoverageFile& file = requireSourceFile();
            const std::string_view mode = scanner_.requireText(element::kInstrumentationMode);
            walk_.setInstrumentationMode(mode);
            file.addInstrumentationMode(mode);
        } else if (scanner_.contains(element::kInclude)) {
            requireSourceFile().addInclude(scanner_.requireAttribute(element::kName));
            scanner_.clearMaps();
        } else if (scanner_.contains(element::kProbe)) {
            // Between functions only line directives stand; the type is not
            // looked at.
            requireSourceFile();
            const std::uint32_t line = readUnsigned(scanner_.requireAttribute(element::kLine));
            walk_.fileLevelDirective(line, scanner_.requireAttribute(element::kDescr));
            scanner_.clearMaps();
        } else if (scanner_.contains(element::kFunction)) {
            requireSourceFile();
            readFunction();
            scanner_.clearMaps();
        } else if (scanner_.contains(element::kFileSummary)) {
            readFileSummary(requireSourceFile());
        }
        if (scanner_.contains(element::kFileSummaryEnd)) break;
    }
    walk_.endFile();
}

void ReportReader::readFileSummary(CoverageFile& file) {
    for (;;) {
        scanner_.readTextElement();
        if (scanner_.contains(element::kFileLines))
            file.lineCounts.append(readUnsigned(scanner_.requireText(element::kFileLines)));
        if (scanner_.contains(element::kFileSummaryEnd)) return;
    }
}

} // namespace kiv
