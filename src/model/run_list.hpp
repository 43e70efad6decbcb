#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <vector>

namespace kiv {

// A list of unsigned 32-bit values that grows by one entry per merged
// occurrence. Equal neighbours are stored as one run, so a value repeated in
// every report costs the same as a value seen once. A list of one run, by far
// the most common, is kept in the object itself; only a second run moves the
// list to the heap.
class RunList {
  public:
    RunList() = default;
    explicit RunList(std::uint32_t first) { append(first); }
    RunList(const RunList& other) { appendAll(other); }
    RunList(RunList&& other) noexcept
        : value_(other.value_), count_(other.count_), spill_(std::move(other.spill_)) {
        other.count_ = 0;
    }
    RunList& operator=(const RunList& other) {
        if (this != &other) {
            clear();
            appendAll(other);
        }
        return *this;
    }
    RunList& operator=(RunList&& other) noexcept {
        value_ = other.value_;
        count_ = other.count_;
        spill_ = std::move(other.spill_);
        other.count_ = 0;
        return *this;
    }
    ~RunList() = default;

    void append(std::uint32_t value) { append(value, 1); }
    void append(std::uint32_t value, std::uint64_t count);
    void appendAll(const RunList& other);
    void clear() {
        count_ = 0;
        spill_.reset();
    }

    std::uint64_t size() const { return spill_ ? spill_->size : count_; }
    bool empty() const { return size() == 0; }
    // Throws std::out_of_range when the list is empty.
    std::uint32_t front() const;
    std::uint32_t max() const;
    std::uint32_t min() const;
    // True when every entry holds the same value (or the list is empty).
    bool allEqual() const { return !spill_ || spill_->runs.size() <= 1; }

    // Calls f(value) once per entry, in order.
    template <typename F> void forEach(F&& f) const {
        forEachRun([&f](std::uint32_t value, std::uint64_t count) {
            for (std::uint64_t i = 0; i < count; ++i)
                f(value);
        });
    }
    // Calls f(value, count) once per run of equal entries, in order.
    template <typename F> void forEachRun(F&& f) const {
        if (!spill_) {
            if (count_ != 0) f(value_, std::uint64_t{count_});
            return;
        }
        for (const Run& run : spill_->runs)
            f(run.value, run.count);
    }

    bool operator==(const RunList& other) const;

  private:
    struct Run {
        std::uint32_t value;
        std::uint64_t count;
    };
    // The runs of a list that outgrew its single run.
    struct Spill {
        std::vector<Run> runs;
        std::uint64_t size = 0;
    };
    // Moves the single run to the heap.
    Spill& spill();

    std::uint32_t value_ = 0; // the single run, while spill_ is null
    std::uint32_t count_ = 0;
    std::unique_ptr<Spill> spill_;
};

inline RunList::Spill& RunList::spill() {
    if (!spill_) {
        auto spilled = std::make_unique<Spill>();
        if (count_ != 0) spilled->runs.push_back(Run{value_, count_});
        spilled->size = count_;
        spill_ = std::move(spilled);
        count_ = 0;
    }
    return *spill_;
}

inline void RunList::append(std::uint32_t value, std::uint64_t count) {
    if (count == 0) return;
    if (!spill_) {
        constexpr std::uint64_t kInlineLimit = UINT32_MAX;
        if (count_ == 0 && count <= kInlineLimit) {
            value_ = value;
            count_ = static_cast<std::uint32_t>(count);
            return;
        }
        if (value == value_ && count <= kInlineLimit - count_) {
            count_ += static_cast<std::uint32_t>(count);
            return;
        }
    }
    Spill& runs = spill();
    if (!runs.runs.empty() && runs.runs.back().value == value) {
        runs.runs.back().count += count;
    } else {
        runs.runs.push_back(Run{value, count});
    }
    runs.size += count;
}

inline void RunList::appendAll(const RunList& other) {
    if (&other == this) {
        const RunList copy(other);
        appendAll(copy);
        return;
    }
    other.forEachRun([this](std::uint32_t value, std::uint64_t count) { append(value, count); });
}

inline std::uint32_t RunList::front() const {
    if (empty()) throw std::out_of_range("RunList::front: empty list");
    return spill_ ? spill_->runs.front().value : value_;
}

inline std::uint32_t RunList::max() const {
    if (empty()) throw std::out_of_range("RunList::max: empty list");
    std::uint32_t m = front();
    forEachRun([&m](std::uint32_t value, std::uint64_t) {
        if (value > m) m = value;
    });
    return m;
}

inline std::uint32_t RunList::min() const {
    if (empty()) throw std::out_of_range("RunList::min: empty list");
    std::uint32_t m = front();
    forEachRun([&m](std::uint32_t value, std::uint64_t) {
        if (value < m) m = value;
    });
    return m;
}

inline bool RunList::operator==(const RunList& other) const {
    if (size() != other.size()) return false;
    std::vector<Run> mine;
    std::vector<Run> theirs;
    forEachRun([&mine](std::uint32_t value, std::uint64_t count) {
        mine.push_back(Run{value, count});
    });
    other.forEachRun([&theirs](std::uint32_t value, std::uint64_t count) {
        theirs.push_back(Run{value, count});
    });
    if (mine.size() != theirs.size()) return false;
    for (std::size_t i = 0; i < mine.size(); ++i)
        if (mine[i].value != theirs[i].value || mine[i].count != theirs[i].count) return false;
    return true;
}

} // namespace kiv
