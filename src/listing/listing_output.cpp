#include "listing/listing_output.hpp"

#include <array>
#include <bit>

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

constexpr char kDigitPairs[] = "00010203040506070809101112131415161718192021222324"
                               "25262728293031323334353637383940414243444546474849"
                               "50515253545556575859606162636465666768697071727374"
                               "75767778798081828384858687888990919293949596979899";

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

} // namespace

void appendNumber(std::string& text, std::uint64_t value) {
    char digits[kMostDigits];
    const char* begin = formatDecimal(value, digits + kMostDigits);
    text.append(begin, static_cast<std::size_t>(digits + kMostDigits - begin));
}

namespace {

// The digits of a number of each bit width: at most kDigitsOfWidth[width],
// one less when below kLeastOfDigits[that many], the least number with them.
constexpr std::array<std::uint8_t, 65> digitsOfWidth() {
    std::array<std::uint8_t, 65> most{};
    most[0] = 1;
    for (unsigned width = 1; width <= 64; ++width) {
        std::uint64_t value = width == 64 ? UINT64_MAX : (std::uint64_t{1} << width) - 1;
        std::uint8_t digits = 1;
        for (; value >= 10; value /= 10)
            ++digits;
        most[width] = digits;
    }
    return most;
}
constexpr std::array<std::uint64_t, kMostDigits + 1> leastOfDigits() {
    std::array<std::uint64_t, kMostDigits + 1> least{}; // 0 for one digit
    std::uint64_t power = 10;
    for (std::size_t digits = 2; digits <= kMostDigits; ++digits, power *= 10)
        least[digits] = power;
    return least;
}
constexpr std::array<std::uint8_t, 65> kDigitsOfWidth = digitsOfWidth();
constexpr std::array<std::uint64_t, kMostDigits + 1> kLeastOfDigits = leastOfDigits();

std::size_t decimalDigits(std::uint64_t value) {
    const std::size_t most = kDigitsOfWidth[static_cast<std::size_t>(std::bit_width(value))];
    return most - (value < kLeastOfDigits[most] ? 1 : 0);
}

constexpr std::uint64_t kEightDigits = 100000000;

// The two digits of a number below 100, first digit in the low byte.
std::uint64_t digitPair(std::uint32_t value) {
    std::uint16_t pair;
    std::memcpy(&pair, &kDigitPairs[value * 2], 2);
    return pair;
}

} // namespace

char* writeDecimal(char* at, std::uint64_t value) {
    const std::size_t digits = decimalDigits(value);
    if (value >= kEightDigits || std::endian::native != std::endian::little) {
        formatDecimal(value, at + digits);
        return at + digits;
    }
    // Below 10^8, the most numbers of an export by far: all eight digits at
    // once, without a branch on their count, leading zeros shifted out (the
    // first digit is the lowest byte) and stored in one piece.
    const auto high = static_cast<std::uint32_t>(value / 10000);
    const auto low = static_cast<std::uint32_t>(value % 10000);
    std::uint64_t eight = digitPair(high / 100) | digitPair(high % 100) << 16 |
                          digitPair(low / 100) << 32 | digitPair(low % 100) << 48;
    eight >>= 8 * (8 - digits);
    std::memcpy(at, &eight, sizeof eight);
    return at + digits;
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
