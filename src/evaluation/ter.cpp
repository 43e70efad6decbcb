#include "evaluation/ter.hpp"

#include <charconv>

namespace kiv {

namespace {

void appendNumber(std::string& text, std::uint32_t value) {
    char digits[16];
    const auto result = std::to_chars(digits, digits + sizeof digits, value);
    text.append(digits, result.ptr);
}

// Right-aligned in a field of three; wider numbers widen the field.
void appendPadded(std::string& text, std::uint32_t value) {
    char digits[16];
    const auto result = std::to_chars(digits, digits + sizeof digits, value);
    const auto length = static_cast<std::size_t>(result.ptr - digits);
    if (length < 3) text.append(3 - length, ' ');
    text.append(digits, length);
}

using Append = void (*)(std::string&, std::uint32_t);

std::string ratioText(Append append, std::uint32_t ter, std::uint32_t hits, std::uint32_t all) {
    std::string text;
    text.reserve(32);
    append(text, ter);
    text += " % (";
    append(text, hits);
    text += '/';
    append(text, all);
    text += ')';
    return text;
}

void appendNotAvailable(std::string& text, std::uint32_t naFunctions) {
    if (naFunctions == 0) return;
    text += " (N.A. for ";
    appendNumber(text, naFunctions);
    text += " functions)";
}

} // namespace

std::string terText(std::uint32_t ter, std::uint32_t hits, std::uint32_t all) {
    return ratioText(appendPadded, ter, hits, all);
}

std::string functionStatementText(bool available, std::uint32_t ter, std::uint32_t hits,
                                  std::uint32_t all) {
    if (!available) return "N.A. statement";
    return ratioText(appendPadded, ter, hits, all) + " statement";
}

std::string fileStatementText(std::uint32_t availableFunctions, std::uint32_t ter,
                              std::uint32_t hits, std::uint32_t all, std::uint32_t naFunctions) {
    std::string text = availableFunctions == 0 ? std::string("100 % (  0/  0)")
                                               : ratioText(appendPadded, ter, hits, all);
    text += " statement";
    appendNotAvailable(text, naFunctions);
    return text;
}

std::string overallStatementText(std::uint32_t availableFunctions, std::uint32_t ter,
                                 std::uint32_t hits, std::uint32_t all, std::uint32_t naFunctions) {
    std::string text = availableFunctions == 0 ? std::string("100 % (0/0)")
                                               : ratioText(appendNumber, ter, hits, all);
    text += " statement";
    appendNotAvailable(text, naFunctions);
    return text;
}

} // namespace kiv
