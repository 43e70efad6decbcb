#pragma once

#include <string>
#include <string_view>

#include "reader/first_value_map.hpp"

namespace kiv {

// Splits the attribute text of an element line into its name="value" pairs
// and stores them in map (the first value of a name stays). Pairs are
// separated by exactly one character; the values of "name" and "descr" are
// unescaped. A "/>" left at the end closes the element. False when the text
// cannot be split: text left without "=" or without both double quotes.
bool splitAttributes(std::string_view text, FirstValueMap& map);

// The attribute text of a line whose element is closed by ">" alone: its last
// ">" becomes " />", so that it splits like a self-closing element.
void closeAttributeText(std::string_view text, std::string& out);

} // namespace kiv
