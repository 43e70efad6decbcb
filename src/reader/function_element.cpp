#include "diagnostics/diagnostic_record.hpp"
#include "model/coverage_file.hpp"
#include "reader/element_table.hpp"
#include "reader/numbers.hpp"
#include "reader/probe_record.hpp"
#include "reader/report_reader.hpp"

namespace kiv {

void ReportReader::readFunction() {
    FunctionHeader header =
        walk_.beginFunction(std::string(scanner_.requireAttribute(element::kName)));
    scanner_.clearMaps();
    for (;;) {
        scanner_.readTextElement();
        if (scanner_.contains(element::kParameters)) {
            header.parameters = scanner_.requireText(element::kParameters);
        } else if (scanner_.contains(element::kDefinedAtLine)) {
            header.definedAtLine = readUnsigned(scanner_.requireText(element::kDefinedAtLine));
        } else if (scanner_.contains(element::kCallCount)) {
            header.callCount = readUnsigned(scanner_.requireText(element::kCallCount));
        } else if (scanner_.contains(element::kTotalExecutionCost)) {
            header.totalExecutionCost =
                readSigned(scanner_.requireText(element::kTotalExecutionCost));
        } else if (scanner_.contains(element::kMaxExecutionCost)) {
            header.maxExecutionCost = readSigned(scanner_.requireText(element::kMaxExecutionCost));
        } else if (scanner_.contains(element::kBody)) {
            walk_.beginBody(header);
            readBody();
            walk_.endBody();
        } else if (scanner_.contains(element::kFunctionSummary)) {
            readFunctionSummary(header);
        }
        if (scanner_.contains(element::kFunctionEnd)) return;
    }
}

namespace {

// Hands on a probe element of a body: a plain probe as its texts, which
// the merging side turns into its record; a ternary probe or a line
// directive as its record, which the walk looks at.
template <typename Attributes>
void takeBodyProbe(const Attributes& attributes, ProbeTexts& texts, ProbeRecord& probe,
                   HeaderWalk& walk, const ElementScanner& scanner) {
    const ProbeFault fault = takeProbeTexts(attributes, texts);
    if (fault != ProbeFault::None) raiseProbeFault(fault, scanner.inputName(), diagnosticRecord());
    if (HeaderWalk::isPlain(texts.keyword->code)) {
        walk.addPlainProbe(texts);
        return;
    }
    fillProbeRecord(texts, probe);
    walk.addBodyProbe(probe, *attributes.findInSlot(FirstValueMap::slotOf(element::kDescr)));
}

} // namespace

void ReportReader::readBody() {
    for (;;) {
        scanner_.readFunctionBodyLines();
        // Nearly every line of a body is a probe of the usual shape: its
        // element is "<probe", which does not end the body. While a merging
        // thread keeps up, it reads the plain ones; else they are read here,
        // in one pass when they are in the usual form.
        if (scanner_.usualProbe()) {
            const ElementScanner::ProbeLines lines = scanner_.usualProbeLines();
            if (sink_.takesLines() && walk_.addPlainProbeLines(lines.first, lines.second)) continue;
            if (walk_.addUsualProbe(lines.first, lines.second)) continue;
            scanner_.splitUsualProbe();
            if (scanner_.usualProbe()) { // split apart; else joined, as below
                takeBodyProbe(*scanner_.probeAttributes(), texts_, probe_, walk_, scanner_);
                continue;
            }
        }
        if (scanner_.contains(element::kProbe)) {
            if (const ProbeAttributes* attributes = scanner_.probeAttributes()) {
                takeBodyProbe(*attributes, texts_, probe_, walk_, scanner_);
            } else {
                takeBodyProbe(scanner_.attributes(), texts_, probe_, walk_, scanner_);
                scanner_.attributes().clear();
            }
        }
        if (scanner_.contains(element::kBodyEnd)) return;
    }
}

void ReportReader::readFunctionSummary(const FunctionHeader& header) {
    for (;;) {
        scanner_.readTextElement();
        // "no" turns the function's statement coverage off; it goes the way
        // of its probes, so that it comes after them.
        if (scanner_.contains(element::kStatementAvailable) &&
            scanner_.requireText(element::kStatementAvailable) == "no") {
            if (CoverageFunction* function =
                    header.file->findFunction(header.name, header.definedAtLine, header.parameters))
                sink_.markStatementUnavailable(*function);
        }
        if (scanner_.contains(element::kFunctionSummaryEnd)) return;
    }
}

} // namespace kiv
