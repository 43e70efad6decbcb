#include "model/coverage_probe.hpp"

namespace kiv {

CoverageProbe::CoverageProbe(ProbeRecord&& record)
    : type(record.type), description(std::move(record.description)),
      typeName(record.typeName), line(record.probeLine), sequence(record.sequence),
      sourceLines(record.sourceLine), directiveLines(record.directiveLine),
      scCounts(record.scCount), counters(record.counters), outcomeClass(record.outcomeClass),
      nesting(record.nesting), context(std::move(record.context)), owner(record.owner) {
    computeOutcomes();
}

} // namespace kiv
