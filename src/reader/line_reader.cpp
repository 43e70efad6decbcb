#include "reader/line_reader.hpp"

#include <cstdint>
#include <cstring>

#include <sys/stat.h>

namespace kiv {

namespace {
constexpr std::size_t kInitialBuffer = std::size_t{1} << 18;
} // namespace

LineReader::LineReader() {
    useBuffer(std::make_shared<std::vector<char>>(kInitialBuffer));
}

void LineReader::useBuffer(std::shared_ptr<std::vector<char>> buffer) {
    buffer_ = std::move(buffer);
    data_ = buffer_->data();
    capacity_ = buffer_->size();
}

void LineReader::moveToFreeBuffer(std::size_t& keep, std::size_t size) {
    std::shared_ptr<std::vector<char>> next;
    for (auto it = given_.begin(); it != given_.end(); ++it) {
        if (it->use_count() == 1 && (*it)->size() >= size) {
            next = std::move(*it);
            given_.erase(it);
            break;
        }
    }
    if (!next) next = std::make_shared<std::vector<char>>(size);
    if (end_ > keep) std::memcpy(next->data(), data_ + keep, end_ - keep);
    end_ -= keep;
    pos_ -= keep;
    keep = 0;
    // The held buffer waits for reuse; a few are kept (when there are too
    // many, those free again are forgotten; the others are freed by their
    // last holder).
    constexpr std::size_t kGiven = 8;
    if (given_.size() >= kGiven)
        std::erase_if(given_, [](const auto& buffer) { return buffer.use_count() == 1; });
    if (given_.size() < kGiven) given_.push_back(std::move(buffer_));
    useBuffer(std::move(next));
}

LineReader::~LineReader() = default;

bool LineReader::open(const std::string& path) {
    close();
    file_.reset(std::fopen(path.c_str(), "rb"));
    if (!file_) return false;
    struct stat status {};
    if (::fstat(::fileno(file_.get()), &status) == 0 && S_ISREG(status.st_mode))
        inputSize_ = static_cast<std::uint64_t>(status.st_size);
    return true;
}

void LineReader::close() {
    file_.reset();
    inputSize_ = 0;
    // The next input is read from the front of the buffer, or, while lines
    // of it are held, behind them: many small reports then share one buffer
    // instead of holding one each.
    if (buffer_.use_count() > 1) {
        pos_ = end_;
    } else {
        pos_ = 0;
        end_ = 0;
    }
    scannedFrom_ = kNoScan;
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
    // when they fill it completely. A held buffer is read on behind its
    // bytes while it has room; full, the bytes still needed go to the front
    // of another.
    const bool full = end_ - keep == capacity_;
    if (buffer_.use_count() > 1) {
        if (end_ == capacity_) moveToFreeBuffer(keep, full ? 2 * capacity_ : capacity_);
    } else {
        if (keep > 0) {
            std::memmove(data_, data_ + keep, end_ - keep);
            end_ -= keep;
            pos_ -= keep;
            keep = 0;
        }
        if (end_ == capacity_) {
            buffer_->resize(capacity_ * 2);
            useBuffer(std::move(buffer_));
        }
    }
    const std::size_t got = std::fread(data_ + end_, 1, capacity_ - end_, file_.get());
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
    const auto begin = reinterpret_cast<std::uintptr_t>(data_);
    if (at < begin || at > begin + pos_) return readLine(); // nothing of this buffer to keep
    std::size_t kept = at - begin;
    const std::string_view line = nextLine(kept);
    relocated_ = data_ + kept;
    return line;
}

std::string_view LineReader::nextLine(std::size_t& keep) {
    std::size_t scanned = 0; // bytes after pos_ known to hold no line feed
    for (;;) {
        const char* start = data_ + pos_;
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
            std::string_view line(data_ + pos_, end_ - pos_);
            pos_ = end_;
            return line;
        }
    }
}

void LineReader::skipSeparator() {
    // Nine characters, then a line end of "\n" or "\r\n".
    const std::size_t available = ensure(kSeparatorLength + 2);
    const char* p = data_ + pos_;
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
