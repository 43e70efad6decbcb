#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "reader/newline_mask.hpp"

namespace kiv {

// Reads a report line by line through a large buffer that is reused for
// every line and every report, unless lines read into it are still held
// (see holdBuffer()): it then reads on behind them, the next report too,
// and into another buffer once it is full. Lines may be of any length. A
// carriage return directly before a line feed is not part of the line, so
// reports written on Windows read as on any other system. After the end of
// the input every read gives an empty line.
class LineReader {
  public:
    LineReader();
    LineReader(const LineReader&) = delete;
    LineReader& operator=(const LineReader&) = delete;
    ~LineReader();

    // Opens a report; false when it cannot be opened. Closes the previous one.
    bool open(const std::string& path);
    void close();
    bool isOpen() const { return file_ != nullptr; }
    // The size of the open input in bytes; 0 when not known (a pipe).
    std::uint64_t inputSize() const { return inputSize_; }

    // True when the input holds at least one character (an unreadable input,
    // a directory for example, holds none).
    bool hasContent();

    // The next line without its line end. The view is valid until the next
    // call of any operation of this reader.
    std::string_view readLine() {
        std::string_view line;
        return takeBufferedLine(line) ? line : readLineRefilling(pos_);
    }

    // The next line, like readLine(), with the line read just before it kept
    // valid from keep (a place in it) on: when the buffer is compacted, those
    // bytes move to relocated() (null when they stay, nearly always). The
    // views of both lines are valid until the next call.
    std::string_view readLineAfter(const char* keep) {
        relocated_ = nullptr;
        std::string_view line;
        return takeBufferedLine(line) ? line : readLineAfterRefilling(keep);
    }
    const char* relocated() const { return relocated_; }

    // Keeps the bytes of the lines read so far valid while the result is
    // alive: the reader then reads on behind them, and into another buffer
    // when this one is full, instead of overwriting or moving them. Only the
    // thread that reads may hold, copy or drop it. bufferId() tells which
    // buffer a hold would keep.
    std::shared_ptr<const void> holdBuffer() const { return buffer_; }
    const void* bufferId() const { return buffer_.get(); }

    // Skips a separator line, which is expected to be empty: a line of at most
    // 9 characters is consumed whole; of a longer line only the first 9
    // characters are, and the next read begins with its tenth.
    void skipSeparator();

  private:
    static constexpr std::size_t kSeparatorLength = 9;
    static constexpr std::size_t kBlock = 64;
    static constexpr std::size_t kNoScan = static_cast<std::size_t>(-1);

    // Makes at least count bytes available after pos_ unless the input ends
    // first; returns the number available.
    std::size_t ensure(std::size_t count);
    // Reads more input behind what is buffered; false at the end of input.
    // The bytes from keep (at most pos_) on stay in the buffer; when they
    // move to its front, keep follows them.
    bool refill() {
        std::size_t keep = pos_;
        return refill(keep);
    }
    bool refill(std::size_t& keep);
    // Moves the bytes from keep on to the front of a buffer of at least
    // size bytes that nobody holds, which becomes the current one.
    void moveToFreeBuffer(std::size_t& keep, std::size_t size);
    void useBuffer(std::shared_ptr<std::vector<char>> buffer);
    // The next line when its line feed is buffered: true and the line
    // taken, or false and nothing taken. The line feeds are found 64 bytes
    // at a time (see newline_mask.hpp) and taken one by one.
    bool takeBufferedLine(std::string_view& line) {
        if (scannedFrom_ != pos_) startScan();
        while (feeds_ == 0)
            if (!scanNextBlock()) return false;
        const std::size_t feed = blockAt_ + static_cast<std::size_t>(std::countr_zero(feeds_));
        feeds_ &= feeds_ - 1;
        const char* start = data_ + pos_;
        line = std::string_view(start, feed - pos_);
        pos_ = feed + 1;
        scannedFrom_ = pos_;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        return true;
    }
    // The line feeds of the block of 64 bytes (fewer at the end of the
    // buffered bytes) that begins at pos_.
    void startScan() {
        blockAt_ = pos_;
        feeds_ = feedsAt(pos_);
        scannedFrom_ = pos_;
    }
    // Moves to the next block; false when the buffered bytes end first.
    bool scanNextBlock() {
        const std::size_t next = blockAt_ + kBlock;
        if (next >= end_) return false;
        blockAt_ = next;
        feeds_ = feedsAt(next);
        return true;
    }
    std::uint64_t feedsAt(std::size_t at) const {
        const std::size_t available = end_ - at;
        return available >= kBlock ? newlineMask64(data_ + at)
                                   : newlineMaskShort(data_ + at, available);
    }
    std::string_view readLineRefilling(std::size_t keep) { return nextLine(keep); }
    std::string_view readLineAfterRefilling(const char* keep);
    // The next line; the bytes from keep on stay in the buffer, and keep
    // follows them when they move.
    std::string_view nextLine(std::size_t& keep);

    struct Closer {
        void operator()(std::FILE* file) const { std::fclose(file); }
    };
    std::unique_ptr<std::FILE, Closer> file_;
    std::uint64_t inputSize_ = 0;
    // The buffer lines are read into, shared with whoever holds it (see
    // holdBuffer()); data_ and capacity_ are its bytes.
    std::shared_ptr<std::vector<char>> buffer_;
    char* data_ = nullptr;
    std::size_t capacity_ = 0;
    // Buffers given up while held, to be used again once nobody holds them.
    std::vector<std::shared_ptr<std::vector<char>>> given_;
    std::size_t pos_ = 0;             // next unread byte
    std::size_t end_ = 0;             // end of the buffered bytes
    bool atEnd_ = false;              // nothing more to read from the file
    const char* relocated_ = nullptr; // where readLineAfter() moved the kept bytes
    // The line feeds at or after pos_ in the block of kBlock bytes at
    // blockAt_ (up to end_); valid while scannedFrom_ is pos_.
    std::size_t scannedFrom_ = kNoScan;
    std::size_t blockAt_ = 0;
    std::uint64_t feeds_ = 0;
};

} // namespace kiv
