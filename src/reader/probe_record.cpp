#include "reader/probe_record.hpp"

#include "model/probe_type.hpp"
#include "reader/element_table.hpp"
#include "reader/numbers.hpp"
#include "reader/probe_keywords.hpp"

namespace kiv {

namespace {

// The places of the probe attributes in the attribute map.
constexpr std::size_t slot(std::string_view name) {
    const std::size_t place = FirstValueMap::slotOf(name);
    return place == FirstValueMap::kNoSlot ? throw "not an attribute name" : place;
}
constexpr std::size_t kTypeSlot = slot(element::kType);
constexpr std::size_t kLineSlot = slot(element::kLine);
constexpr std::size_t kDescrSlot = slot(element::kDescr);
constexpr std::size_t kCount1Slot = slot(element::kCount1);
constexpr std::size_t kCount2Slot = slot(element::kCount2);
constexpr std::size_t kNestingSlot = slot(element::kNesting);
constexpr std::size_t kScCountSlot = slot(element::kScCount);
constexpr std::size_t kEvalNoSlot = slot(element::kEvalNo);

template <typename Attributes>
std::uint32_t optionalNumber(const Attributes& attributes, std::size_t place) {
    const std::optional<std::string_view> value = attributes.findInSlot(place);
    return value ? readUnsigned(*value) : 0;
}

} // namespace

template <typename Attributes>
ProbeFault buildProbeRecord(const Attributes& attributes, ProbeRecord& record) {
    const std::optional<std::string_view> type = attributes.findInSlot(kTypeSlot);
    if (!type) return ProbeFault::MissingType;
    const ProbeKeyword* keyword = classifyProbeType(*type);
    if (keyword == nullptr) return ProbeFault::UnknownType;
    const std::optional<std::string_view> line = attributes.findInSlot(kLineSlot);
    if (!line) return ProbeFault::MissingLine;
    const std::optional<std::string_view> description = attributes.findInSlot(kDescrSlot);
    if (!description) return ProbeFault::MissingDescription;

    record.type = keyword->code;
    record.typeName = keyword->keyword;
    record.probeLine = readUnsigned(*line);
    record.sourceLine = record.probeLine;
    record.directiveLine = 0;
    record.sequence = 0;
    const std::optional<std::string_view> count1 = attributes.findInSlot(kCount1Slot);
    record.counters = {count1 ? readUnsigned(*count1) : 0, optionalNumber(attributes, kCount2Slot)};
    record.outcomeClass = outcomeClassOf(keyword->code, count1.has_value());
    record.nesting = optionalNumber(attributes, kNestingSlot);
    record.scCount = optionalNumber(attributes, kScCountSlot);
    record.description.clear();
    if (const std::optional<std::string_view> evaluation = attributes.findInSlot(kEvalNoSlot)) {
        record.description.assign(*evaluation);
        record.description += ": ";
    }
    record.description += *description;
    record.context.clear();
    record.owner = nullptr;
    return ProbeFault::None;
}

template ProbeFault buildProbeRecord(const FirstValueMap&, ProbeRecord&);
template ProbeFault buildProbeRecord(const ProbeAttributes&, ProbeRecord&);

} // namespace kiv
