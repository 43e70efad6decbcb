#include "reader/attributes.hpp"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "diagnostics/raise.hpp"
#include "reader/element_table.hpp"
#include "reader/quote_search.hpp"
#include "reader/unescape.hpp"

namespace kiv {

namespace {

// A report attribute name at the front of an attribute text: its length
// and its place in the map.
struct Name {
    std::size_t length = 0; // 0: not one of them
    std::size_t slot = 0;
};

// The name of pattern (name followed by '="') when text starts with it. The
// patterns are constants, so the comparison is a few instructions.
template <std::size_t N>
Name prefixed(std::string_view text, const char (&pattern)[N], std::size_t slot) {
    constexpr std::size_t kLength = N - 1;
    if (text.size() < kLength || std::memcmp(text.data(), pattern, kLength) != 0) return {};
    return Name{kLength - 2, slot};
}

template <std::size_t N> constexpr std::size_t slotOf(const char (&pattern)[N]) {
    return FirstValueMap::slotOf(std::string_view(pattern, N - 3));
}

// The report attribute name, followed by '="', with which text starts. Such a
// name holds neither '=' nor '"': the first of each in text are the ones
// after it. Inlined into the splitters' loops: it runs for every attribute.
[[gnu::always_inline]] inline Name attributeName(std::string_view text) {
    if (text.size() < 2) return {};
    switch (text[0]) {
    case 't':
        return prefixed(text, "type=\"", slotOf("type=\""));
    case 'l':
        return prefixed(text, "line=\"", slotOf("line=\""));
    case 'n':
        return text[1] == 'e' ? prefixed(text, "nesting=\"", slotOf("nesting=\""))
                              : prefixed(text, "name=\"", slotOf("name=\""));
    case 'c':
        return text.size() > 5 && text[5] == '2' ? prefixed(text, "count2=\"", slotOf("count2=\""))
                                                 : prefixed(text, "count1=\"", slotOf("count1=\""));
    case 'd':
        return prefixed(text, "descr=\"", slotOf("descr=\""));
    case 's':
        return text[1] == 'c' ? prefixed(text, "sc_count=\"", slotOf("sc_count=\""))
                              : prefixed(text, "subcond_no=\"", slotOf("subcond_no=\""));
    case 'e':
        return prefixed(text, "eval_no=\"", slotOf("eval_no=\""));
    default:
        return {};
    }
}

// Walks the name="value" pairs of an attribute text in order and hands each
// to store(name, known, value), which gives false to stop the walk. False
// when the walk was stopped or the text cannot be split.
template <typename Store> bool walkAttributes(std::string_view text, Store&& store) {
    constexpr auto npos = std::string_view::npos;
    while (!text.empty()) {
        const Name known = attributeName(text);
        std::size_t equals = known.length;
        std::size_t open = equals + 1;
        if (known.length == 0) {
            // Any other name: find the first "=" and the first double quote
            // in one walk over it.
            equals = npos;
            open = npos;
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
        }
        // Most values are numbers of a few digits.
        std::size_t close = open + 1;
        const std::size_t shortEnd = std::min(text.size(), open + 17);
        while (close < shortEnd && text[close] != '"')
            ++close;
        if (close == shortEnd) close = text.find('"', close);
        if (close == npos) return false;

        if (!store(text.substr(0, equals), known, text.substr(open + 1, close - open - 1)))
            return false;

        // The closing quote and the one separator after it.
        text.remove_prefix(close + 1 < text.size() ? close + 2 : close + 1);
        if (text == "/>") text = {};
    }
    return true;
}

// Whether the value of name is stored unescaped.
bool unescaped(std::string_view name, std::string_view value) {
    return (name == element::kDescr || name == element::kName) &&
           value.find('&') != std::string_view::npos;
}

} // namespace

bool splitAttributes(std::string_view text, FirstValueMap& map) {
    // The values are stored where they lie in one copy of the whole text;
    // only those that must be unescaped are copied again.
    const std::size_t base = map.keep(text);
    const char* const start = text.data();
    return walkAttributes(
        text, [&](std::string_view name, const Name& known, std::string_view value) {
            const std::size_t offset = base + static_cast<std::size_t>(value.data() - start);
            if (unescaped(name, value)) {
                map.insertUnescaped(name, value);
            } else if (known.length != 0) {
                map.insertKeptInSlot(known.slot, offset, value.size());
            } else {
                map.insertKept(name, offset, value.size());
            }
            return true;
        });
}

bool ProbeAttributes::splitPairs(std::string_view text, bool& endsWithValue) {
    constexpr std::size_t kNameSlot = FirstValueMap::slotOf(element::kName);
    // The walk of walkAttributes(), for report attribute names only: any
    // other name declines the text at once. The bits stay in a register.
    std::uint32_t present = present_;
    bool ends = false;
    bool split = true;
    const char* p = text.data();
    const char* const end = p + text.size();
    while (p != end) {
        const Name known = attributeName(std::string_view(p, static_cast<std::size_t>(end - p)));
        if (known.length == 0) {
            split = false;
            break;
        }
        const char* const value = p + known.length + 2; // after '="'
        const char* const close = findQuote(value, end);
        if (close == end) {
            split = false;
            break;
        }
        const std::uint32_t bit = std::uint32_t{1} << known.slot;
        if ((present & bit) == 0) {
            const std::string_view found(value, static_cast<std::size_t>(close - value));
            if (known.slot == kNameSlot && found.find('&') != std::string_view::npos) {
                unescapeInto(found, name_);
                store(known.slot, name_);
            } else {
                store(known.slot, found);
            }
            present |= bit;
        }
        // The closing quote and the one separator after it.
        ends = close + 1 == end;
        p = ends ? end : close + 2;
        if (end - p == 2 && p[0] == '/' && p[1] == '>') p = end;
    }
    present_ = present;
    endsWithValue = ends;
    return split;
}

std::optional<std::string_view> ProbeAttributes::findDescription() const {
    const std::optional<std::string_view> raw = rawInSlot(FirstValueMap::slotOf(element::kDescr));
    if (!raw) return std::nullopt;
    const std::string_view value = *raw;
    if (value.find('&') == std::string_view::npos) return value;
    unescapeInto(value, description_);
    return description_;
}

bool splitProbeAttributes(std::string_view text, ProbeAttributes& attributes) {
    attributes.clear();
    bool endsWithValue = false;
    return attributes.splitPairs(text, endsWithValue);
}

bool splitProbeAttributes(std::string_view first, std::string_view second,
                          ProbeAttributes& attributes) {
    attributes.clear();
    bool endsWithValue = false;
    // Joined, the blank after the first text separates its last value from
    // the second text only when that value closes the first text.
    return attributes.splitPairs(first, endsWithValue) && endsWithValue &&
           attributes.splitPairs(second, endsWithValue);
}

void raiseUnsplittable(std::string_view inputName, DiagnosticRecord& record) {
    raiseWith(record, Unit::Reader, kNotAReport, inputName);
}

void closeAttributeText(std::string_view text, std::string& out) {
    const std::size_t last = text.rfind('>');
    out.assign(text.substr(0, last));
    if (last == std::string_view::npos) return;
    out += " />";
    out.append(text.substr(last + 1));
}

} // namespace kiv
