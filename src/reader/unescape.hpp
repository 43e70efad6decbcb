#pragma once

#include <string>
#include <string_view>

namespace kiv {

// Restores the five predefined XML entities ("&lt;", "&gt;", "&quot;",
// "&apos;", "&amp;") in one left-to-right pass: text produced by a
// replacement is not looked at again, so "&amp;lt;" gives "&lt;". Numeric
// character references stay as written. The result replaces out's content.
void unescapeInto(std::string_view text, std::string& out);
// The same, appended to out.
void unescapeAppend(std::string_view text, std::string& out);

inline std::string unescape(std::string_view text) {
    std::string out;
    unescapeInto(text, out);
    return out;
}

} // namespace kiv
