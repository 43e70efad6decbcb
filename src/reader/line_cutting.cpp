#include "reader/line_cutting.hpp"

#include <cstring>

#include "reader/element_table.hpp"

namespace kiv {

namespace {

// The position of the first c in text, or npos. For what stands near the
// front of a line (after its indentation): a walk is quicker than a search.
std::size_t firstNear(std::string_view text, char c) {
    for (std::size_t i = 0; i < text.size(); ++i)
        if (text[i] == c) return i;
    return std::string_view::npos;
}

// The position of the last c in text, or npos. Walks forward: nearly every
// line holds c once, at its end, or not at all.
std::size_t lastOf(std::string_view text, char c) {
    std::size_t last = std::string_view::npos;
    std::size_t from = 0;
    while (from < text.size()) {
        const void* found = std::memchr(text.data() + from, c, text.size() - from);
        if (found == nullptr) break;
        last = static_cast<std::size_t>(static_cast<const char*>(found) - text.data());
        from = last + 1;
    }
    return last;
}

} // namespace

CutResult cutLine(std::string_view line, CutStart start, std::string_view& element) {
    constexpr auto npos = std::string_view::npos;
    if (start == CutStart::Bracket) {
        const std::size_t first = firstNear(line, '<');
        if (first == npos) return CutResult::NotAReport;
        line.remove_prefix(first);
    } else {
        const std::size_t first = firstNear(line, 'l');
        line.remove_prefix(first == npos ? line.size() : first);
        if (line.size() <= 4 || line.find("line=") == npos) return CutResult::NotAReport;
    }

    const std::size_t last = lastOf(line, '>');
    if (last != npos) {
        element = line.substr(0, last + 1);
        return CutResult::Ok;
    }

    // A probe element continues on the next line: it ends at its last value.
    if (line.size() <= 5 || line.find(element::kProbe) == npos) return CutResult::NotAReport;
    const std::size_t quote = line.rfind('"');
    if (quote == npos) return CutResult::NotAReport;
    element = line.substr(0, quote + 1);
    if (start == CutStart::LineAttribute) return CutResult::TooLong;
    return CutResult::Ok;
}

} // namespace kiv
