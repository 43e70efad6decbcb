#pragma once

#include "model/records.hpp"
#include "reader/attributes.hpp"
#include "reader/first_value_map.hpp"

namespace kiv {

enum class ProbeFault {
    None,
    MissingType,
    UnknownType,
    MissingLine,
    MissingDescription,
};

// Converts the attributes of a probe element of a function body into the
// record that announces it. The type is checked first, then the line, then
// the description; the counters, sc_count and nesting are 0 when absent. An
// eval_no value is put in front of the description. The probe's line is its
// probe line and its source line.
// Attributes is FirstValueMap or ProbeAttributes.
template <typename Attributes>
ProbeFault buildProbeRecord(const Attributes& attributes, ProbeRecord& record);

} // namespace kiv
