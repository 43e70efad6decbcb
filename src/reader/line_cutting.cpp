#include "reader/line_cutting.hpp"

#include "reader/element_table.hpp"

namespace kiv {

CutResult cutLine(std::string_view line, CutStart start, std::string_view& element) {
    constexpr auto npos = std::string_view::npos;
    if (start == CutStart::Bracket) {
        const std::size_t first = line.find('<');
        if (first == npos) return CutResult::NotAReport;
        line.remove_prefix(first);
    } else {
        const std::size_t first = line.find('l');
        line.remove_prefix(first == npos ? line.size() : first);
        if (line.size() <= 4 || line.find("line=") == npos) return CutResult::NotAReport;
    }

    const std::size_t last = line.rfind('>');
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
