#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "model/records.hpp"
#include "reader/attributes.hpp"
#include "reader/first_value_map.hpp"
#include "reader/probe_keywords.hpp"

namespace kiv {

class DiagnosticRecord;

enum class ProbeFault {
    None,
    MissingType,
    UnknownType,
    MissingLine,
    MissingDescription,
};

// The attributes of a body probe that make its record, as the report writes
// them, with its type classified. The texts lie where the attributes were
// read; the description may still hold entities when `escaped` is set. Kept
// as plain pointers and sizes and passed by reference: it is filled field by
// field and read field by field, never copied whole, which keeps the
// processor from waiting for the stores of a field to reach its cache.
struct ProbeTexts {
    enum Text : std::uint8_t { Line, Count1, Count2, Nesting, ScCount, EvalNo, Description, Count };

    const ProbeKeyword* keyword = nullptr;
    std::array<const char*, Count> data{};
    std::array<std::size_t, Count> size{};
    std::uint32_t present = 0; // bit t: text t was given
    bool escaped = false;

    bool has(Text t) const { return (present & (1U << t)) != 0; }
    std::string_view text(Text t) const { return {data[t], size[t]}; }
    void set(Text t, std::string_view value) {
        data[t] = value.data();
        size[t] = value.size();
        present |= 1U << t;
    }
};

// Takes the texts of a probe element of a function body. The type is checked
// first, then the line, then the description.
// Attributes is FirstValueMap or ProbeAttributes.
template <typename Attributes>
ProbeFault takeProbeTexts(const Attributes& attributes, ProbeTexts& texts);

// The record that announces the probe: the counters, sc_count and nesting are
// 0 when absent; an eval_no value is put in front of the description. The
// probe's line is its probe line and its source line. The record keeps the
// storage of its description.
void fillProbeRecord(const ProbeTexts& texts, ProbeRecord& record);

// Ends the run for a probe whose texts could not be taken: an unknown type
// has a diagnostic of its own, anything else makes the named report
// malformed. The diagnostic is composed in record.
[[noreturn]] void raiseProbeFault(ProbeFault fault, std::string_view inputName,
                                  DiagnosticRecord& record);

// Both steps at once.
template <typename Attributes>
ProbeFault buildProbeRecord(const Attributes& attributes, ProbeRecord& record) {
    ProbeTexts texts;
    const ProbeFault fault = takeProbeTexts(attributes, texts);
    if (fault == ProbeFault::None) fillProbeRecord(texts, record);
    return fault;
}

} // namespace kiv
