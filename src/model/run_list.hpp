#pragma once

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <vector>

namespace kiv {

// A list of unsigned 32-bit values that grows by one entry per merged
// occurrence. Equal neighbours are stored as one run, so a value repeated in
// every report costs the same as a value seen once.
//
// Every probe holds three of these, so the object is one machine word: a
// list of a single run (by far the most common) is packed into the word
// itself, value in the upper half and length in the lower; only a second run,
// or a run longer than 2^31 - 1 entries, moves the runs to the heap, and the
// word then holds their address. Heap addresses are even; packed runs are
// marked odd.
class RunList {
  public:
    RunList() = default;
    explicit RunList(std::uint32_t first) { append(first); }
    RunList(const RunList& other) { appendAll(other); }
    RunList(RunList&& other) noexcept : word_(other.word_) { other.word_ = 0; }
    RunList& operator=(const RunList& other);
    RunList& operator=(RunList&& other) noexcept;
    ~RunList() { clear(); }

    void append(std::uint32_t value) { append(value, 1); }
    void append(std::uint32_t value, std::uint64_t count);
    void appendAll(const RunList& other);
    void clear();

    std::uint64_t size() const;
    bool empty() const { return word_ == 0; }
    // Throws std::out_of_range when the list is empty.
    std::uint32_t front() const;
    std::uint32_t max() const;
    std::uint32_t min() const;
    // True when every entry holds the same value (or the list is empty).
    bool allEqual() const { return !spilled() || spill()->runs.size() <= 1; }

    // Calls f(value) once per entry, in order.
    template <typename F> void forEach(F&& f) const {
        forEachRun([&f](std::uint32_t value, std::uint64_t count) {
            for (std::uint64_t i = 0; i < count; ++i)
                f(value);
        });
    }
    // Calls f(value, count) once per run of equal entries, in order.
    template <typename F> void forEachRun(F&& f) const {
        if (empty()) return;
        if (!spilled()) {
            f(packedValue(), packedCount());
            return;
        }
        for (const Run& run : spill()->runs)
            f(run.value, run.count);
    }

    bool operator==(const RunList& other) const;

  private:
    struct Run {
        std::uint32_t value;
        std::uint64_t count;
    };
    // The runs of a list that outgrew a single packed run.
    struct Spill {
        std::vector<Run> runs;
        std::uint64_t size = 0;
    };
    static_assert(sizeof(std::uintptr_t) == sizeof(std::uint64_t), "a 64-bit platform");
    static_assert(alignof(Spill) >= 2, "heap addresses must be even");

    static constexpr std::uint64_t kPackedLimit = (std::uint64_t{1} << 31) - 1;

    bool spilled() const { return word_ != 0 && (word_ & 1) == 0; }
    Spill* spill() const { return reinterpret_cast<Spill*>(static_cast<std::uintptr_t>(word_)); }
    std::uint32_t packedValue() const { return static_cast<std::uint32_t>(word_ >> 32); }
    std::uint64_t packedCount() const { return (word_ & 0xffffffffU) >> 1; }
    static std::uint64_t pack(std::uint32_t value, std::uint64_t count) {
        return (std::uint64_t{value} << 32) | (count << 1) | 1;
    }
    // Moves a packed run to the heap.
    Spill& spillRuns();

    std::uint64_t word_ = 0; // 0: empty; odd: one packed run; even: a Spill
};

inline RunList& RunList::operator=(const RunList& other) {
    if (this != &other) {
        clear();
        appendAll(other);
    }
    return *this;
}

inline RunList& RunList::operator=(RunList&& other) noexcept {
    if (this != &other) {
        clear();
        word_ = other.word_;
        other.word_ = 0;
    }
    return *this;
}

inline void RunList::clear() {
    if (spilled()) delete spill();
    word_ = 0;
}

inline std::uint64_t RunList::size() const {
    if (empty()) return 0;
    return spilled() ? spill()->size : packedCount();
}

inline RunList::Spill& RunList::spillRuns() {
    if (spilled()) return *spill();
    auto* runs = new Spill;
    if (!empty()) {
        runs->runs.push_back(Run{packedValue(), packedCount()});
        runs->size = packedCount();
    }
    word_ = static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(runs));
    return *runs;
}

inline void RunList::append(std::uint32_t value, std::uint64_t count) {
    if (count == 0) return;
    if (empty() && count <= kPackedLimit) {
        word_ = pack(value, count);
        return;
    }
    if (!spilled() && packedValue() == value && count <= kPackedLimit - packedCount()) {
        word_ = pack(value, packedCount() + count);
        return;
    }
    Spill& runs = spillRuns();
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
    return spilled() ? spill()->runs.front().value : packedValue();
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
