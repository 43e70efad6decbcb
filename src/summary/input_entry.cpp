#include "summary/input_entry.hpp"

namespace kiv {

InputEntryParts splitInputEntry(std::string_view entry) {
    const std::size_t open = entry.rfind('(');
    if (open == std::string_view::npos) return {entry, {}};
    InputEntryParts parts;
    parts.name = entry.substr(0, open == 0 ? 0 : open - 1);
    std::string_view rest = entry.substr(open + 1);
    const std::size_t close = rest.rfind(')');
    parts.generated = close == std::string_view::npos ? rest : rest.substr(0, close);
    return parts;
}

} // namespace kiv
