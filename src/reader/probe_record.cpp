#include "reader/probe_record.hpp"

#include "diagnostics/raise.hpp"
#include "model/probe_type.hpp"
#include "reader/element_table.hpp"
#include "reader/numbers.hpp"
#include "reader/unescape.hpp"

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

// The description: the map holds it unescaped, the probe splitter as written.
std::optional<std::string_view> description(const FirstValueMap& map, bool& escaped) {
    escaped = false;
    return map.findInSlot(kDescrSlot);
}
std::optional<std::string_view> description(const ProbeAttributes& attributes, bool& escaped) {
    escaped = true;
    return attributes.rawInSlot(kDescrSlot);
}

std::uint32_t optionalNumber(const ProbeTexts& texts, ProbeTexts::Text t) {
    return texts.has(t) ? readUnsigned(texts.text(t)) : 0;
}

template <typename Attributes>
[[gnu::always_inline]] inline void takeOptional(const Attributes& attributes, std::size_t slot,
                                                ProbeTexts::Text t, ProbeTexts& texts) {
    if (const std::optional<std::string_view> value = attributes.findInSlot(slot))
        texts.set(t, *value);
}

} // namespace

template <typename Attributes>
ProbeFault takeProbeTexts(const Attributes& attributes, ProbeTexts& texts) {
    texts.present = 0;
    const std::optional<std::string_view> type = attributes.findInSlot(kTypeSlot);
    if (!type) return ProbeFault::MissingType;
    texts.keyword = classifyProbeType(*type);
    if (texts.keyword == nullptr) return ProbeFault::UnknownType;
    const std::optional<std::string_view> line = attributes.findInSlot(kLineSlot);
    if (!line) return ProbeFault::MissingLine;
    texts.set(ProbeTexts::Line, *line);
    const std::optional<std::string_view> descr = description(attributes, texts.escaped);
    if (!descr) return ProbeFault::MissingDescription;
    texts.set(ProbeTexts::Description, *descr);
    takeOptional(attributes, kCount1Slot, ProbeTexts::Count1, texts);
    takeOptional(attributes, kCount2Slot, ProbeTexts::Count2, texts);
    takeOptional(attributes, kNestingSlot, ProbeTexts::Nesting, texts);
    takeOptional(attributes, kScCountSlot, ProbeTexts::ScCount, texts);
    takeOptional(attributes, kEvalNoSlot, ProbeTexts::EvalNo, texts);
    return ProbeFault::None;
}

template ProbeFault takeProbeTexts(const FirstValueMap&, ProbeTexts&);
template ProbeFault takeProbeTexts(const ProbeAttributes&, ProbeTexts&);

void raiseProbeFault(ProbeFault fault, std::string_view inputName, DiagnosticRecord& record) {
    if (fault == ProbeFault::UnknownType) raiseWith(record, Unit::Reader, kUnknownProbeType);
    raiseWith(record, Unit::Reader, kNotAReport, inputName);
}

void fillProbeRecord(const ProbeTexts& texts, ProbeRecord& record) {
    record.type = texts.keyword->code;
    record.typeName = texts.keyword->keyword;
    record.probeLine = readUnsigned(texts.text(ProbeTexts::Line));
    record.sourceLine = record.probeLine;
    record.directiveLine = 0;
    record.sequence = 0;
    record.counters[0] = optionalNumber(texts, ProbeTexts::Count1);
    record.counters[1] = optionalNumber(texts, ProbeTexts::Count2);
    record.outcomeClass = outcomeClassOf(texts.keyword->code, texts.has(ProbeTexts::Count1));
    record.nesting = optionalNumber(texts, ProbeTexts::Nesting);
    record.scCount = optionalNumber(texts, ProbeTexts::ScCount);
    record.description.clear();
    if (texts.has(ProbeTexts::EvalNo)) {
        record.description.assign(texts.text(ProbeTexts::EvalNo));
        record.description += ": ";
    }
    if (texts.escaped) {
        unescapeAppend(texts.text(ProbeTexts::Description), record.description);
    } else {
        record.description += texts.text(ProbeTexts::Description);
    }
    record.context.clear();
    record.owner = nullptr;
    record.partFunction = nullptr;
}

} // namespace kiv
