#include "model/coverage_probe.hpp"

namespace kiv {

namespace {

SharedText keep(const std::string& text, TextPool* texts) {
    return texts != nullptr ? texts->intern(text) : SharedText(text);
}

} // namespace

CoverageProbe::CoverageProbe(ProbeRecord&& record, TextPool* texts)
    : description(keep(record.description, texts)), context(keep(record.context, texts)),
      counters(record.counters), line(record.probeLine), nesting(record.nesting), type(record.type),
      outcomeClass(static_cast<std::uint8_t>(record.outcomeClass)) {
    if (record.sourceLine != line || record.directiveLine != 0 || record.scCount != 0 ||
        record.owner != nullptr || record.sequence != 0) {
        extra_ = std::make_unique<Extra>();
        extra_->sourceLines.append(record.sourceLine);
        extra_->directiveLines.append(record.directiveLine);
        extra_->scCounts.append(record.scCount);
        extra_->owner = record.owner;
        extra_->sequence = record.sequence;
    }
    computeOutcomes();
}

CoverageProbe::~CoverageProbe() = default;

CoverageProbe::Extra& CoverageProbe::extra() {
    if (!extra_) {
        auto made = std::make_unique<Extra>();
        const std::uint64_t count = implicitOccurrences();
        made->sourceLines.append(line, count);
        made->directiveLines.append(0, count);
        made->scCounts.append(0, count);
        extra_ = std::move(made);
    }
    return *extra_;
}

RunList CoverageProbe::sourceLines() const {
    if (extra_) return extra_->sourceLines;
    RunList lines;
    lines.append(line, implicitOccurrences());
    return lines;
}

RunList CoverageProbe::directiveLines() const {
    if (extra_) return extra_->directiveLines;
    RunList lines;
    lines.append(0, implicitOccurrences());
    return lines;
}

RunList CoverageProbe::scCounts() const {
    if (extra_) return extra_->scCounts;
    RunList counts;
    counts.append(0, implicitOccurrences());
    return counts;
}

void CoverageProbe::setSourceLines(RunList lines) {
    extra().sourceLines = std::move(lines);
}

void CoverageProbe::setDirectiveLines(RunList lines) {
    extra().directiveLines = std::move(lines);
}

void CoverageProbe::setScCounts(RunList counts) {
    extra().scCounts = std::move(counts);
}

std::uint64_t CoverageProbe::occurrences() const {
    return extra_ ? extra_->sourceLines.size() : implicitOccurrences();
}

std::uint32_t CoverageProbe::largestSourceLine() const {
    return extra_ ? extra_->sourceLines.max() : line;
}

std::uint32_t CoverageProbe::smallestDirectiveLine() const {
    return extra_ ? extra_->directiveLines.min() : 0;
}

std::uint32_t CoverageProbe::firstScCount() const {
    return extra_ ? extra_->scCounts.front() : 0;
}

void CoverageProbe::setOwner(CoverageFile* file) {
    if (file != nullptr || extra_) extra().owner = file;
}

void CoverageProbe::setSequence(std::uint32_t number) {
    if (number != 0 || extra_) extra().sequence = number;
}

const ConditionTexts& CoverageProbe::conditions() const {
    static const ConditionTexts none;
    return extra_ ? extra_->conditions : none;
}

void CoverageProbe::setConditions(ConditionTexts texts) {
    texts.shrink();
    if (!texts.empty() || extra_) extra().conditions = std::move(texts);
}

} // namespace kiv
