#pragma once

#include <string>
#include <string_view>

namespace kiv {

// Returns text with the five XML special characters replaced by their
// entities: "&" by "&amp;", "<" by "&lt;", ">" by "&gt;", "'" by "&apos;" and
// the double quote by "&quot;". Entities that the replacement introduces are
// not escaped again; every other byte is copied unchanged.
std::string escapeText(std::string_view text);

// Appends the escaped form of text to out.
void appendEscaped(std::string& out, std::string_view text);

} // namespace kiv
