#pragma once

#include <bit>
#include <cstdint>
#include <cstring>
#include <ostream>
#include <string>
#include <string_view>

namespace kiv {

// Builds the listing line by line in one reused buffer and hands it to the
// stream in large blocks. Every line ends with a line feed.
class ListingOutput {
  public:
    // Lines go to the stream in blocks of about blockSize bytes.
    explicit ListingOutput(std::ostream& out, std::size_t blockSize = 256 * 1024);
    // Hands over the complete lines still buffered (a listing cut short by an
    // error keeps what was written before it).
    ~ListingOutput();
    ListingOutput(const ListingOutput&) = delete;
    ListingOutput& operator=(const ListingOutput&) = delete;

    // The buffer whose end is the line being built; endLine() completes it.
    std::string& text() { return text_; }
    void endLine();

    void line(std::string_view text);
    // Appends complete lines, each with its line feed.
    void lines(std::string_view text);
    void emptyLines(unsigned count);

    // Writes the rest and flushes the stream.
    void finish();

  private:
    // The buffer ends with a whole line: hands it over once a block is full.
    void completed();
    void writeBlock();

    std::ostream& out_;
    std::size_t blockSize_;
    std::string text_;
    std::size_t complete_ = 0; // bytes of text_ that end with a whole line
};

// Appends value in decimal.
void appendNumber(std::string& text, std::uint64_t value);

// The two-digit texts of 0 to 99, back to back.
inline constexpr char kDigitPairs[] = "00010203040506070809101112131415161718192021222324"
                                      "25262728293031323334353637383940414243444546474849"
                                      "50515253545556575859606162636465666768697071727374"
                                      "75767778798081828384858687888990919293949596979899";

// writeDecimal() for the numbers it does not write itself.
char* writeLongDecimal(char* at, std::uint64_t value);

// Writes value in decimal at `at` and returns the end of its digits. Uses up
// to eight bytes past the digits as scratch room. Inline, since numbers are
// most of an export: below 10^8, nearly all of them, the eight digits are
// made at once and stored in one piece, the first digit in the lowest byte,
// and the leading zeros (the low bytes that hold '0', but never the last
// digit) shifted out, without a branch or a table of widths.
inline char* writeDecimal(char* at, std::uint64_t value) {
    constexpr std::uint64_t kEightDigits = 100000000;
    if (value >= kEightDigits || std::endian::native != std::endian::little)
        return writeLongDecimal(at, value);
    const auto pair = [](std::uint32_t below100) {
        std::uint16_t digits;
        std::memcpy(&digits, &kDigitPairs[below100 * 2], 2);
        return std::uint64_t{digits};
    };
    const auto high = static_cast<std::uint32_t>(value / 10000);
    const auto low = static_cast<std::uint32_t>(value % 10000);
    std::uint64_t eight =
        pair(high / 100) | pair(high % 100) << 16 | pair(low / 100) << 32 | pair(low % 100) << 48;
    constexpr std::uint64_t kZeros = 0x3030303030303030; // '0' in every byte
    constexpr std::uint64_t kLastDigit = std::uint64_t{1} << 56;
    const auto zeroBits =
        static_cast<unsigned>(std::countr_zero((eight - kZeros) | kLastDigit)) & 56U;
    eight >>= zeroBits;
    std::memcpy(at, &eight, sizeof eight);
    return at + 8 - zeroBits / 8;
}

// Lines of fixed texts and numbers gathered on the stack and handed to the
// output many at a time: the millions of export lines that hold nothing else
// cost a few stores each instead of an append per piece. A line holds at most
// kLineRoom bytes, which its users' lines (a few short fixed pieces and at
// most six numbers) stay well below. The lines go to the output when the
// batch runs short of room, on flush(), which must come before anything else
// is written to the output, and at the latest when the batch goes.
class LineBatch {
  public:
    static constexpr std::size_t kLineRoom = 512;

    explicit LineBatch(ListingOutput& out) : out_(out) {}
    ~LineBatch();
    LineBatch(const LineBatch&) = delete;
    LineBatch& operator=(const LineBatch&) = delete;

    LineBatch& text(std::string_view piece) {
        std::memcpy(end_, piece.data(), piece.size());
        end_ += piece.size();
        return *this;
    }
    LineBatch& number(std::uint64_t value) {
        end_ = writeDecimal(end_, value);
        return *this;
    }
    // Up to eight tabs.
    LineBatch& tabs(unsigned count) {
        std::memcpy(end_, "\t\t\t\t\t\t\t\t", 8);
        end_ += count;
        return *this;
    }
    LineBatch& character(char c) {
        *end_++ = c;
        return *this;
    }
    // Ends the line with a line feed.
    void endLine() {
        *end_++ = '\n';
        if (end_ > bytes_ + kSize - kLineRoom) flush();
    }
    void flush();

  private:
    static constexpr std::size_t kSize = 16 * 1024;
    ListingOutput& out_;
    char* end_ = bytes_;
    char bytes_[kSize];
};

// Appends value in decimal, right-aligned in a field of `width` characters
// (wider when the number does not fit). With `marker` set, the padding blank
// that is the seventh character from the right end of the field becomes "-";
// a number of seven or more digits leaves no such blank.
void appendField(std::string& text, std::uint64_t value, std::size_t width, bool marker = false);

} // namespace kiv
