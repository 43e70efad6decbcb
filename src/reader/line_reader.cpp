#include "reader/line_reader.hpp"

#include <cstdint>
#include <cstring>

namespace kiv {

namespace {
constexpr std::size_t kInitialBuffer = std::size_t{1} << 18;
} // namespace

LineReader::LineReader() : buffer_(kInitialBuffer) {}

LineReader::~LineReader() = default;

bool LineReader::open(const std::string& path) {
    close();
    file_.reset(std::fopen(path.c_str(), "rb"));
    return file_ != nullptr;
}

void LineReader::close() {
    file_.reset();
    scannedFrom_ = kNoScan;
    pos_ = 0;
    end_ = 0;
    atEnd_ = false;
}

bool LineReader::hasContent() {
    return ensure(1) >= 1;
}

bool LineReader::refill(std::size_t& keep) {
    scannedFrom_ = kNoScan; // the bytes move or more come: scan afresh
    if (atEnd_ || !file_) {
        atEnd_ = true;
        return false;
    }
    // Keep the bytes still needed at the front of the buffer; grow it only
    // when they fill it completely.
    if (keep > 0) {
        std::memmove(buffer_.data(), buffer_.data() + keep, end_ - keep);
        end_ -= keep;
        pos_ -= keep;
        keep = 0;
    }
    if (end_ == buffer_.size()) buffer_.resize(buffer_.size() * 2);
    const std::size_t got =
        std::fread(buffer_.data() + end_, 1, buffer_.size() - end_, file_.get());
    if (got == 0) {
        atEnd_ = true;
        return false;
    }
    end_ += got;
    return true;
}

std::size_t LineReader::ensure(std::size_t count) {
    while (end_ - pos_ < count && refill()) {
    }
    return end_ - pos_ < count ? end_ - pos_ : count;
}

std::string_view LineReader::readLineAfterRefilling(const char* keep) {
    const auto at = reinterpret_cast<std::uintptr_t>(keep);
    const auto begin = reinterpret_cast<std::uintptr_t>(buffer_.data());
    if (at < begin || at > begin + pos_) return readLine(); // nothing of this buffer to keep
    std::size_t kept = at - begin;
    const std::string_view line = nextLine(kept);
    relocated_ = buffer_.data() + kept;
    return line;
}

std::string_view LineReader::nextLine(std::size_t& keep) {
    std::size_t scanned = 0; // bytes after pos_ known to hold no line feed
    for (;;) {
        const char* start = buffer_.data() + pos_;
        const void* found = std::memchr(start + scanned, '\n', end_ - pos_ - scanned);
        if (found != nullptr) {
            const auto length = static_cast<std::size_t>(static_cast<const char*>(found) - start);
            pos_ += length + 1;
            std::string_view line(start, length);
            if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
            return line;
        }
        scanned = end_ - pos_;
        if (!refill(keep)) {
            // The last line of an input without a final line feed.
            std::string_view line(buffer_.data() + pos_, end_ - pos_);
            pos_ = end_;
            return line;
        }
    }
}

void LineReader::skipSeparator() {
    // Nine characters, then a line end of "\n" or "\r\n".
    const std::size_t available = ensure(kSeparatorLength + 2);
    const char* p = buffer_.data() + pos_;
    std::size_t taken = 0;
    while (taken < available) {
        if (p[taken] == '\n') {
            ++taken;
            break;
        }
        if (p[taken] == '\r' && taken + 1 < available && p[taken + 1] == '\n') {
            taken += 2;
            break;
        }
        if (taken == kSeparatorLength) break;
        ++taken;
    }
    pos_ += taken;
}

} // namespace kiv
