#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

#include "model/coverage_probe.hpp"

namespace kiv {

// The probes of a function, ordered by probe line; probes on one line keep
// the order in which they were added. Entries are (line, probe) pairs in one
// vector: probes arrive in line order nearly always, so adding one is an
// append, and walking them touches consecutive memory. A probe added before
// others moves the entries after it by one place.
class ProbeMap {
  public:
    using Entry = std::pair<std::uint32_t, std::unique_ptr<CoverageProbe>>;
    using iterator = std::vector<Entry>::iterator;
    using const_iterator = std::vector<Entry>::const_iterator;

    iterator begin() { return entries_.begin(); }
    iterator end() { return entries_.end(); }
    const_iterator begin() const { return entries_.begin(); }
    const_iterator end() const { return entries_.end(); }
    std::size_t size() const { return entries_.size(); }
    bool empty() const { return entries_.empty(); }

    // Adds probe under line, after the probes already stored under it.
    iterator emplace(std::uint32_t line, std::unique_ptr<CoverageProbe> probe) {
        if (entries_.empty() || entries_.back().first <= line) {
            entries_.emplace_back(line, std::move(probe));
            return entries_.end() - 1;
        }
        return entries_.emplace(upperBound(line), line, std::move(probe));
    }
    iterator erase(const_iterator position) { return entries_.erase(position); }

    // The probes stored under line.
    std::pair<iterator, iterator> equal_range(std::uint32_t line) {
        const auto before = [](const Entry& entry, std::uint32_t value) {
            return entry.first < value;
        };
        const auto first = std::lower_bound(entries_.begin(), entries_.end(), line, before);
        return {first, upperBound(line)};
    }
    std::pair<const_iterator, const_iterator> equal_range(std::uint32_t line) const {
        return const_cast<ProbeMap&>(*this).equal_range(line);
    }

  private:
    iterator upperBound(std::uint32_t line) {
        return std::upper_bound(
            entries_.begin(), entries_.end(), line,
            [](std::uint32_t value, const Entry& entry) { return value < entry.first; });
    }

    std::vector<Entry> entries_;
};

} // namespace kiv
