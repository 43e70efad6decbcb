#include "listing/listing_output.hpp"

#include <cstring>

namespace kiv {

namespace {

constexpr std::size_t kMarkerPosition = 7; // counted from the right end of a field

} // namespace

ListingOutput::ListingOutput(std::ostream& out, std::size_t blockSize)
    : out_(out), blockSize_(blockSize) {
    text_.reserve(blockSize_ + 4096);
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
    completed();
}

void ListingOutput::completed() {
    complete_ = text_.size();
    if (text_.size() >= blockSize_) writeBlock();
}

void ListingOutput::writeBlock() {
    out_.write(text_.data(), static_cast<std::streamsize>(text_.size()));
    text_.clear();
    complete_ = 0;
}

void ListingOutput::line(std::string_view text) {
    text_.append(text);
    endLine();
}

void ListingOutput::lines(std::string_view text) {
    // The buffer keeps its size: what does not fit goes after the block.
    if (text_.size() + text.size() > text_.capacity()) writeBlock();
    text_.append(text);
    completed();
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

namespace {

// The digits of value, written backwards from end, two at a time; returns
// where they begin. Numbers are the bulk of a listing or an export, and this
// is several times quicker than the general conversion.
char* formatDecimal(std::uint64_t value, char* end) {
    char* begin = end;
    while (value >= 100) {
        const auto pair = static_cast<std::size_t>(value % 100) * 2;
        value /= 100;
        *--begin = kDigitPairs[pair + 1];
        *--begin = kDigitPairs[pair];
    }
    if (value >= 10) {
        const auto pair = static_cast<std::size_t>(value) * 2;
        *--begin = kDigitPairs[pair + 1];
        *--begin = kDigitPairs[pair];
    } else {
        *--begin = static_cast<char>('0' + value);
    }
    return begin;
}

constexpr std::size_t kMostDigits = 20; // of a 64-bit number

// A number's digits, formatted into a buffer of their own.
class Digits {
  public:
    explicit Digits(std::uint64_t value) : begin_(formatDecimal(value, bytes_ + kMostDigits)) {}
    std::string_view text() const {
        return {begin_, static_cast<std::size_t>(bytes_ + kMostDigits - begin_)};
    }

  private:
    char bytes_[kMostDigits];
    const char* begin_;
};

} // namespace

void appendNumber(std::string& text, std::uint64_t value) {
    text.append(Digits(value).text());
}

char* writeLongDecimal(char* at, std::uint64_t value) {
    const Digits digits(value);
    const std::string_view number = digits.text();
    std::memcpy(at, number.data(), number.size());
    return at + number.size();
}

LineBatch::~LineBatch() {
    try {
        flush();
    } catch (...) {
        // A stream that throws while an error unwinds has nothing more to take.
    }
}

void LineBatch::flush() {
    if (end_ == bytes_) return;
    out_.lines(std::string_view(bytes_, static_cast<std::size_t>(end_ - bytes_)));
    end_ = bytes_;
}

void appendField(std::string& text, std::uint64_t value, std::size_t width, bool marker) {
    const Digits digits(value);
    const std::string_view number = digits.text();
    if (number.size() < width) {
        const std::size_t padding = width - number.size();
        const std::size_t start = text.size();
        text.append(padding, ' ');
        if (marker && width >= kMarkerPosition && padding > width - kMarkerPosition)
            text[start + width - kMarkerPosition] = '-';
    }
    text.append(number);
}

} // namespace kiv
