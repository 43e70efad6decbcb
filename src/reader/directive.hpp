#pragma once

#include <cstdint>
#include <string_view>

namespace kiv {

// What a line-directive probe's description says: `#line N "name"`.
struct Directive {
    std::uint32_t number = 0; // N: the second blank-separated word, 0 without a blank
    std::string_view name;    // between the first two double quotes
};

// The view in the result points into description.
Directive parseDirective(std::string_view description);

} // namespace kiv
