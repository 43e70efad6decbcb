#include "reader/probe_record.hpp"

#include "model/probe_type.hpp"
#include "reader/element_table.hpp"
#include "reader/numbers.hpp"
#include "reader/probe_keywords.hpp"

namespace kiv {

namespace {

std::uint32_t optionalNumber(const FirstValueMap& attributes, std::string_view name) {
    const std::string* value = attributes.find(name);
    return value == nullptr ? 0 : readUnsigned(*value);
}

} // namespace

ProbeFault buildProbeRecord(const FirstValueMap& attributes, ProbeRecord& record) {
    const std::string* type = attributes.find(element::kType);
    if (type == nullptr) return ProbeFault::MissingType;
    const ProbeKeyword* keyword = classifyProbeType(*type);
    if (keyword == nullptr) return ProbeFault::UnknownType;
    const std::string* line = attributes.find(element::kLine);
    if (line == nullptr) return ProbeFault::MissingLine;
    const std::string* description = attributes.find(element::kDescr);
    if (description == nullptr) return ProbeFault::MissingDescription;

    record.type = keyword->code;
    record.typeName = keyword->keyword;
    record.probeLine = readUnsigned(*line);
    record.sourceLine = record.probeLine;
    record.directiveLine = 0;
    record.sequence = 0;
    const std::string* count1 = attributes.find(element::kCount1);
    record.counters = {count1 == nullptr ? 0 : readUnsigned(*count1),
                       optionalNumber(attributes, element::kCount2)};
    record.outcomeClass = outcomeClassOf(keyword->code, count1 != nullptr);
    record.nesting = optionalNumber(attributes, element::kNesting);
    record.scCount = optionalNumber(attributes, element::kScCount);
    record.description.clear();
    if (const std::string* evaluation = attributes.find(element::kEvalNo)) {
        record.description = *evaluation;
        record.description += ": ";
    }
    record.description += *description;
    record.context.clear();
    record.owner = nullptr;
    return ProbeFault::None;
}

} // namespace kiv
