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

// Whether text names no probe type whose probes the header walk looks at:
// neither a ternary probe nor a line directive in a function. (A text that
// names no type at all is taken too: the probe's reading ends the run.)
bool isPlainKeyword(std::string_view text);

} // namespace kiv
