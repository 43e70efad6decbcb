#include "listing/listing_output.hpp"

#include <charconv>

namespace kiv {

namespace {

constexpr std::size_t kBlockSize = 256 * 1024;
constexpr std::size_t kMarkerPosition = 7; // counted from the right end of a field

} // namespace

ListingOutput::ListingOutput(std::ostream& out) : out_(out) {
    text_.reserve(kBlockSize + 4096);
}

ListingOutput::~ListingOutput() {
    try {
        if (complete_ != 0) out_.write(text_.data(), static_cast<std::streamsize>(complete_));
        out_.flush();
    } catch (...) {
        // A stream that throws while an error unwinds has nothing more to take.
    }
}

void ListingOutput::endLine() {
    text_.push_back('\n');
    complete_ = text_.size();
    if (text_.size() >= kBlockSize) {
        out_.write(text_.data(), static_cast<std::streamsize>(text_.size()));
        text_.clear();
        complete_ = 0;
    }
}

void ListingOutput::line(std::string_view text) {
    text_.append(text);
    endLine();
}

void ListingOutput::emptyLines(unsigned count) {
    for (unsigned i = 0; i < count; ++i)
        endLine();
}

void ListingOutput::finish() {
    out_.write(text_.data(), static_cast<std::streamsize>(text_.size()));
    text_.clear();
    complete_ = 0;
    out_.flush();
}

void appendNumber(std::string& text, std::uint64_t value) {
    char digits[24];
    const std::to_chars_result result = std::to_chars(digits, digits + sizeof digits, value);
    text.append(digits, result.ptr);
}

void appendField(std::string& text, std::uint64_t value, std::size_t width, bool marker) {
    char digits[24];
    const std::to_chars_result result = std::to_chars(digits, digits + sizeof digits, value);
    const std::size_t length = static_cast<std::size_t>(result.ptr - digits);
    if (length < width) {
        const std::size_t padding = width - length;
        const std::size_t start = text.size();
        text.append(padding, ' ');
        if (marker && width >= kMarkerPosition && padding > width - kMarkerPosition)
            text[start + width - kMarkerPosition] = '-';
    }
    text.append(digits, result.ptr);
}

} // namespace kiv
