#pragma once

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
    void emptyLines(unsigned count);

    // Writes the rest and flushes the stream.
    void finish();

  private:
    std::ostream& out_;
    std::size_t blockSize_;
    std::string text_;
    std::size_t complete_ = 0; // bytes of text_ that end with a whole line
};

// Appends value in decimal.
void appendNumber(std::string& text, std::uint64_t value);

// A short line of fixed texts and numbers built on the stack and appended
// whole: the millions of export lines that hold nothing else cost one append
// each instead of one per piece. Holds up to kCapacity bytes, which its
// users' lines (a few fixed pieces and at most six numbers) stay well below.
class ShortLine {
  public:
    static constexpr std::size_t kCapacity = 256;
    // Provided, so that ShortLine() leaves the bytes as they are.
    ShortLine() {}
    ShortLine& text(std::string_view piece) {
        std::memcpy(end_, piece.data(), piece.size());
        end_ += piece.size();
        return *this;
    }
    ShortLine& number(std::uint64_t value);
    ShortLine& character(char c) {
        *end_++ = c;
        return *this;
    }
    void appendTo(std::string& out) const {
        out.append(bytes_, static_cast<std::size_t>(end_ - bytes_));
    }

  private:
    char bytes_[kCapacity];
    char* end_ = bytes_;
};

// Appends value in decimal, right-aligned in a field of `width` characters
// (wider when the number does not fit). With `marker` set, the padding blank
// that is the seventh character from the right end of the field becomes "-";
// a number of seven or more digits leaves no such blank.
void appendField(std::string& text, std::uint64_t value, std::size_t width, bool marker = false);

} // namespace kiv
