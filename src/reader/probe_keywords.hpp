#pragma once

#include <cstdint>
#include <string_view>

namespace kiv {

struct ProbeKeyword {
    std::string_view keyword; // static storage: may be kept by the model
    std::uint8_t code;        // ProbeType
};

// The entry whose keyword equals text exactly (case and blanks count), or
// null for a text that names no probe type.
const ProbeKeyword* classifyProbeType(std::string_view text);

} // namespace kiv
