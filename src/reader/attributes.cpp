#include "reader/attributes.hpp"

#include <algorithm>

#include "reader/element_table.hpp"

namespace kiv {

bool splitAttributes(std::string_view text, FirstValueMap& map) {
    constexpr auto npos = std::string_view::npos;
    // The values are stored where they lie in one copy of the whole text;
    // only those that must be unescaped are copied again.
    const std::size_t base = map.keep(text);
    const char* const start = text.data();
    while (!text.empty()) {
        // Names are short and their value follows at once: find the first
        // "=" and the first double quote in one walk over the name.
        std::size_t equals = npos;
        std::size_t open = npos;
        for (std::size_t i = 0; i < text.size(); ++i) {
            if (text[i] == '=' && equals == npos) {
                equals = i;
            } else if (text[i] == '"') {
                open = i;
                break;
            }
        }
        if (open != npos && equals == npos) equals = text.find('=', open + 1);
        if (equals == npos || open == npos) return false;
        // Most values are numbers of a few digits.
        std::size_t close = open + 1;
        const std::size_t shortEnd = std::min(text.size(), open + 17);
        while (close < shortEnd && text[close] != '"')
            ++close;
        if (close == shortEnd) close = text.find('"', close);
        if (close == npos) return false;

        const std::string_view name = text.substr(0, equals);
        const std::string_view value = text.substr(open + 1, close - open - 1);
        if ((name == element::kDescr || name == element::kName) &&
            value.find('&') != std::string_view::npos) {
            map.insertUnescaped(name, value);
        } else {
            map.insertKept(name, base + static_cast<std::size_t>(value.data() - start),
                           value.size());
        }

        // The closing quote and the one separator after it.
        text.remove_prefix(close + 1 < text.size() ? close + 2 : close + 1);
        if (text == "/>") text = {};
    }
    return true;
}

void closeAttributeText(std::string_view text, std::string& out) {
    const std::size_t last = text.rfind('>');
    out.assign(text.substr(0, last));
    if (last == std::string_view::npos) return;
    out += " />";
    out.append(text.substr(last + 1));
}

} // namespace kiv
