#include "listing/listing_output.hpp"

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
    complete_ = text_.size();
    if (text_.size() >= blockSize_) {
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

namespace {

// The digits of value, written backwards from end, two at a time; returns
// where they begin. Numbers are the bulk of a listing or an export, and this
// is several times quicker than the general conversion.
char* formatDecimal(std::uint64_t value, char* end) {
    static constexpr char kPairs[] = "00010203040506070809101112131415161718192021222324"
                                     "25262728293031323334353637383940414243444546474849"
                                     "50515253545556575859606162636465666768697071727374"
                                     "75767778798081828384858687888990919293949596979899";
    char* begin = end;
    while (value >= 100) {
        const auto pair = static_cast<std::size_t>(value % 100) * 2;
        value /= 100;
        *--begin = kPairs[pair + 1];
        *--begin = kPairs[pair];
    }
    if (value >= 10) {
        const auto pair = static_cast<std::size_t>(value) * 2;
        *--begin = kPairs[pair + 1];
        *--begin = kPairs[pair];
    } else {
        *--begin = static_cast<char>('0' + value);
    }
    return begin;
}

constexpr std::size_t kMostDigits = 20; // of a 64-bit number

} // namespace

void appendNumber(std::string& text, std::uint64_t value) {
    char digits[kMostDigits];
    const char* begin = formatDecimal(value, digits + kMostDigits);
    text.append(begin, static_cast<std::size_t>(digits + kMostDigits - begin));
}

ShortLine& ShortLine::number(std::uint64_t value) {
    // The digits go straight to their place, once their count is known.
    static constexpr std::uint64_t kTens[] = {10u,
                                              100u,
                                              1000u,
                                              10000u,
                                              100000u,
                                              1000000u,
                                              10000000u,
                                              100000000u,
                                              1000000000u,
                                              10000000000u,
                                              100000000000u,
                                              1000000000000u,
                                              10000000000000u,
                                              100000000000000u,
                                              1000000000000000u,
                                              10000000000000000u,
                                              100000000000000000u,
                                              1000000000000000000u,
                                              10000000000000000000u};
    std::size_t digits = 1;
    while (digits < kMostDigits && value >= kTens[digits - 1])
        ++digits;
    end_ += digits;
    formatDecimal(value, end_);
    return *this;
}

void appendField(std::string& text, std::uint64_t value, std::size_t width, bool marker) {
    char digits[kMostDigits];
    const char* begin = formatDecimal(value, digits + kMostDigits);
    const auto length = static_cast<std::size_t>(digits + kMostDigits - begin);
    if (length < width) {
        const std::size_t padding = width - length;
        const std::size_t start = text.size();
        text.append(padding, ' ');
        if (marker && width >= kMarkerPosition && padding > width - kMarkerPosition)
            text[start + width - kMarkerPosition] = '-';
    }
    text.append(begin, length);
}

} // namespace kiv
