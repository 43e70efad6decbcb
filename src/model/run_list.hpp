#pragma once

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <vector>

namespace kiv {

// A list of unsigned 32-bit values that grows by one entry per merged
// occurrence. Equal neighbours are stored as one run, so a value repeated in
// every report costs the same as a value seen once.
class RunList {
  public:
    RunList() = default;
    explicit RunList(std::uint32_t first) { append(first); }

    void append(std::uint32_t value) { append(value, 1); }
    void append(std::uint32_t value, std::uint64_t count);
    void appendAll(const RunList& other) {
        for (const Run& run : other.runs_) append(run.value, run.count);
    }

    std::uint64_t size() const { return size_; }
    bool empty() const { return size_ == 0; }
    // Throws std::out_of_range when the list is empty.
    std::uint32_t front() const;
    std::uint32_t max() const;
    std::uint32_t min() const;
    // True when every entry holds the same value (or the list is empty).
    bool allEqual() const { return runs_.size() <= 1; }

    // Calls f(value) once per entry, in order.
    template <typename F> void forEach(F&& f) const {
        for (const Run& run : runs_)
            for (std::uint64_t i = 0; i < run.count; ++i) f(run.value);
    }
    // Calls f(value, count) once per run of equal entries, in order.
    template <typename F> void forEachRun(F&& f) const {
        for (const Run& run : runs_) f(run.value, run.count);
    }

    bool operator==(const RunList&) const = default;

  private:
    struct Run {
        std::uint32_t value;
        std::uint64_t count;
        bool operator==(const Run&) const = default;
    };
    std::vector<Run> runs_;
    std::uint64_t size_ = 0;
};

inline void RunList::append(std::uint32_t value, std::uint64_t count) {
    if (count == 0) return;
    if (!runs_.empty() && runs_.back().value == value) {
        runs_.back().count += count;
    } else {
        runs_.push_back(Run{value, count});
    }
    size_ += count;
}

inline std::uint32_t RunList::front() const {
    if (runs_.empty()) throw std::out_of_range("RunList::front: empty list");
    return runs_.front().value;
}

inline std::uint32_t RunList::max() const {
    if (runs_.empty()) throw std::out_of_range("RunList::max: empty list");
    std::uint32_t m = runs_.front().value;
    for (const Run& run : runs_)
        if (run.value > m) m = run.value;
    return m;
}

inline std::uint32_t RunList::min() const {
    if (runs_.empty()) throw std::out_of_range("RunList::min: empty list");
    std::uint32_t m = runs_.front().value;
    for (const Run& run : runs_)
        if (run.value < m) m = run.value;
    return m;
}

} // namespace kiv
