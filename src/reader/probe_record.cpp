#include "reader/probe_record.hpp"

#include "model/probe_type.hpp"
#include "reader/element_table.hpp"
#include "reader/numbers.hpp"
#include "reader/probe_keywords.hpp"

namespace kiv {

namespace {

std::uint32_t optionalNumber(const FirstValueMap& attributes, std::string_view name) {
    const std::optional<std::string_view> value = attributes.find(name);
    return value ? readUnsigned(*value) : 0;
}

} // namespace

ProbeFault buildProbeRecord(const FirstValueMap& attributes, ProbeRecord& record) {
    const std::optional<std::string_view> type = attributes.find(element::kType);
    if (!type) return ProbeFault::MissingType;
    const ProbeKeyword* keyword = classifyProbeType(*type);
    if (keyword == nullptr) return ProbeFault::UnknownType;
    const std::optional<std::string_view> line = attributes.find(element::kLine);
    if (!line) return ProbeFault::MissingLine;
    const std::optional<std::string_view> description = attributes.find(element::kDescr);
    if (!description) return ProbeFault::MissingDescription;

    record.type = keyword->code;
    record.typeName = keyword->keyword;
    record.probeLine = readUnsigned(*line);
    record.sourceLine = record.probeLine;
    record.directiveLine = 0;
    record.sequence = 0;
    const std::optional<std::string_view> count1 = attributes.find(element::kCount1);
    record.counters = {count1 ? readUnsigned(*count1) : 0,
                       optionalNumber(attributes, element::kCount2)};
    record.outcomeClass = outcomeClassOf(keyword->code, count1.has_value());
    record.nesting = optionalNumber(attributes, element::kNesting);
    record.scCount = optionalNumber(attributes, element::kScCount);
    record.description.clear();
    if (const std::optional<std::string_view> evaluation = attributes.find(element::kEvalNo)) {
        record.description.assign(*evaluation);
        record.description += ": ";
    }
    record.description += *description;
    record.context.clear();
    record.owner = nullptr;
    return ProbeFault::None;
}

} // namespace kiv
