#pragma once

#include <string_view>

namespace kiv {

// The two parts of an input report entry "name (generated)".
struct InputEntryParts {
    std::string_view name;      // up to the blank before the last "("
    std::string_view generated; // between that "(" and the last ")" after it
};

// Splits an entry at its last opening parenthesis: the name part ends before
// the character in front of it, the generation part runs to the last closing
// parenthesis after it (to the end of the entry when there is none). An entry
// without any opening parenthesis is all name.
InputEntryParts splitInputEntry(std::string_view entry);

} // namespace kiv
