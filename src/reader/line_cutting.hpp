#pragma once

#include <string_view>

namespace kiv {

// Where the element of a line begins: at its first "<", or, for the second
// line of a probe element, at its first "l" (of "line=").
enum class CutStart { Bracket, LineAttribute };

enum class CutResult {
    Ok,
    NotAReport, // the line does not have the shape of an element line
    TooLong,    // a probe's second line runs on without closing the element
};

// Cuts an element line to its element: from the start character to the last
// ">". A line without ">" must be the first line of a probe (it contains
// "<probe") and ends at its last double quote. The second line of a probe
// must contain "line=" and end with ">".
CutResult cutLine(std::string_view line, CutStart start, std::string_view& element);

} // namespace kiv
