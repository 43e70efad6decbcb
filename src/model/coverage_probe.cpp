#include "model/coverage_probe.hpp"

namespace kiv {

namespace {

SharedText keep(const std::string& text, TextPool* texts) {
    return texts != nullptr ? texts->intern(text) : SharedText(text);
}

} // namespace

CoverageProbe::CoverageProbe(ProbeRecord&& record, TextPool* texts)
    : description(keep(record.description, texts)), context(keep(record.context, texts)),
      sourceLines(record.sourceLine), directiveLines(record.directiveLine),
      scCounts(record.scCount), owner(record.owner), counters(record.counters),
      line(record.probeLine), sequence(record.sequence), nesting(record.nesting), type(record.type),
      outcomeClass(static_cast<std::uint8_t>(record.outcomeClass)) {
    computeOutcomes();
}

} // namespace kiv
