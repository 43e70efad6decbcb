#include "summary/xml_output.hpp"

#include <charconv>
#include <system_error>

#include "summary/escape.hpp"

namespace kiv {

namespace {

constexpr std::size_t kBlockSize = 64 * 1024;

template <typename T> void appendNumber(std::string& text, T value) {
    char digits[24];
    const std::to_chars_result result = std::to_chars(digits, digits + sizeof digits, value);
    text.append(digits, result.ptr);
}

} // namespace

XmlOutput::XmlOutput(std::ostream& out) : out_(out) {
    text_.reserve(kBlockSize + 4096);
}

XmlOutput::~XmlOutput() {
    try {
        if (complete_ != 0) out_.write(text_.data(), static_cast<std::streamsize>(complete_));
        out_.flush();
    } catch (...) {
        // A stream that throws while an error unwinds has nothing more to take.
    }
}

std::string& XmlOutput::begin(unsigned tabs) {
    text_.append(tabs, '\t');
    return text_;
}

void XmlOutput::endLine() {
    text_.push_back('\n');
    complete_ = text_.size();
    if (text_.size() >= kBlockSize) {
        out_.write(text_.data(), static_cast<std::streamsize>(text_.size()));
        text_.clear();
        complete_ = 0;
    }
}

void XmlOutput::finish() {
    out_.write(text_.data(), static_cast<std::streamsize>(text_.size()));
    text_.clear();
    complete_ = 0;
    out_.flush();
}

void XmlOutput::line(unsigned tabs, std::string_view text) {
    begin(tabs).append(text);
    endLine();
}

void XmlOutput::emptyLine() {
    endLine();
}

void XmlOutput::open(unsigned tabs, std::string_view tag) {
    std::string& text = begin(tabs);
    text.push_back('<');
    text.append(tag);
    text.push_back('>');
}

void XmlOutput::close(std::string_view tag) {
    text_.append("</");
    text_.append(tag);
    text_.push_back('>');
    endLine();
}

void XmlOutput::element(unsigned tabs, std::string_view tag, std::string_view value) {
    open(tabs, tag);
    text_.append(value);
    close(tag);
}

void XmlOutput::escapedElement(unsigned tabs, std::string_view tag, std::string_view value) {
    open(tabs, tag);
    // A long value (the options of a run over thousands of reports) goes out
    // block by block: the buffer keeps its size.
    while (value.size() > kBlockSize) {
        appendEscaped(text_, value.substr(0, kBlockSize));
        value.remove_prefix(kBlockSize);
        out_.write(text_.data(), static_cast<std::streamsize>(text_.size()));
        text_.clear();
        complete_ = 0;
    }
    appendEscaped(text_, value);
    close(tag);
}

void XmlOutput::element(unsigned tabs, std::string_view tag, std::uint32_t value) {
    open(tabs, tag);
    appendNumber(text_, value);
    close(tag);
}

void XmlOutput::signedElement(unsigned tabs, std::string_view tag, std::int32_t value) {
    open(tabs, tag);
    appendNumber(text_, value);
    close(tag);
}

void XmlOutput::fixedElement(unsigned tabs, std::string_view tag, double value) {
    open(tabs, tag);
    // Wide enough for any double in fixed notation with one decimal.
    char digits[400];
    const std::to_chars_result result =
        std::to_chars(digits, digits + sizeof digits, value, std::chars_format::fixed, 1);
    if (result.ec == std::errc{}) text_.append(digits, result.ptr);
    close(tag);
}

void XmlOutput::emptyElement(unsigned tabs, std::string_view tag) {
    open(tabs, tag);
    close(tag);
}

} // namespace kiv
