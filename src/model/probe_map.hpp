#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <tuple>
#include <utility>
#include <vector>

#include "model/coverage_probe.hpp"

namespace kiv {

// One probe of a ProbeMap, keyed by the probe's own line: one pointer, since
// a model holds millions of them. Reads as a (line, probe) pair in
// structured bindings: `for (const auto& [line, probe] : function.probes)`.
class ProbeMapEntry {
  public:
    explicit ProbeMapEntry(std::unique_ptr<CoverageProbe> stored) : probe(std::move(stored)) {}

    std::uint32_t line() const { return probe->line; }

    template <std::size_t I> decltype(auto) get() const {
        if constexpr (I == 0) {
            return line();
        } else {
            return (probe);
        }
    }
    template <std::size_t I> decltype(auto) get() {
        if constexpr (I == 0) {
            return line();
        } else {
            return (probe);
        }
    }

    std::unique_ptr<CoverageProbe> probe;
};

} // namespace kiv

template <> struct std::tuple_size<kiv::ProbeMapEntry> : std::integral_constant<std::size_t, 2> {};
template <> struct std::tuple_element<0, kiv::ProbeMapEntry> { using type = std::uint32_t; };
template <> struct std::tuple_element<1, kiv::ProbeMapEntry> {
    using type = std::unique_ptr<kiv::CoverageProbe>;
};

namespace kiv {

// The probes of a function, ordered by probe line; probes on one line keep
// the order in which they were added. Entries are probes in one vector:
// probes arrive in line order nearly always, so adding one is an append, and
// walking them touches consecutive memory.
//
// A probe that arrives before others waits in a second, short vector of its
// own, also in that order; the waiting probes join the others when the map
// is walked or searched, or when there are more of them than the square root
// of the probe count. A function's probes can thus arrive in any order at a
// cost of no more than that square root per probe.
class ProbeMap {
  public:
    using Entry = ProbeMapEntry;
    using iterator = std::vector<Entry>::iterator;
    using const_iterator = std::vector<Entry>::const_iterator;

    // --- Every probe in line order (the waiting ones join first).
    iterator begin() {
        settle();
        return settled_.begin();
    }
    iterator end() {
        settle();
        return settled_.end();
    }
    const_iterator begin() const {
        settle();
        return settled_.begin();
    }
    const_iterator end() const {
        settle();
        return settled_.end();
    }
    // The probes stored under line.
    std::pair<iterator, iterator> equal_range(std::uint32_t line) {
        settle();
        return {std::lower_bound(settled_.begin(), settled_.end(), line, before),
                std::upper_bound(settled_.begin(), settled_.end(), line, after)};
    }
    std::pair<const_iterator, const_iterator> equal_range(std::uint32_t line) const {
        return const_cast<ProbeMap&>(*this).equal_range(line);
    }
    iterator erase(const_iterator position) {
        settle();
        return settled_.erase(position);
    }
    std::size_t size() const { return settled_.size() + waiting_.size(); }
    bool empty() const { return size() == 0; }

    // Adds probe under its line, after the probes already stored under it.
    Entry& emplace(std::unique_ptr<CoverageProbe> probe) {
        const std::uint32_t line = probe->line;
        if (waiting_.empty() && (settled_.empty() || settled_.back().line() <= line))
            return settled_.emplace_back(std::move(probe));
        const auto at = std::upper_bound(waiting_.begin(), waiting_.end(), line, after);
        Entry& added = *waiting_.emplace(at, std::move(probe));
        if (waiting_.size() > kWaitingFloor && waiting_.size() * waiting_.size() > settled_.size())
            return *settleFinding(added.probe.get());
        return added;
    }
    // Gives back the room kept for more probes, when there is much of it;
    // once given back, again only after the map has doubled, so that doing
    // it after every few probes costs no more, in all, than adding them.
    void trim() {
        if (!waiting_.empty() || settled_.size() < 2 * trimmedAt_) return;
        if (settled_.capacity() - settled_.size() <= settled_.size() / 8) return;
        settled_.shrink_to_fit();
        trimmedAt_ = settled_.size();
    }

    // --- For the merging, which searches both parts without joining them.
    // A probe of the waiting part comes after every probe of the ordered
    // part on the same line.
    std::vector<Entry>& ordered() { return settled_; }
    std::vector<Entry>& waiting() { return waiting_; }
    // The first probe in line order, or null.
    Entry* first() {
        if (waiting_.empty()) return settled_.empty() ? nullptr : &settled_.front();
        if (settled_.empty() || waiting_.front().line() < settled_.front().line())
            return &waiting_.front();
        return &settled_.front();
    }
    // Changes whenever the waiting probes join the others (positions in the
    // ordered part move then).
    std::uint64_t generation() const { return generation_; }
    void settle() const {
        if (!waiting_.empty()) join();
    }

  private:
    static constexpr std::size_t kWaitingFloor = 64;

    static bool before(const Entry& entry, std::uint32_t line) { return entry.line() < line; }
    static bool after(std::uint32_t line, const Entry& entry) { return line < entry.line(); }

    // The waiting probes join the ordered ones; stable, so that on one line
    // the earlier probes stay first.
    void join() const {
        const auto middle = static_cast<std::ptrdiff_t>(settled_.size());
        settled_.insert(settled_.end(), std::make_move_iterator(waiting_.begin()),
                        std::make_move_iterator(waiting_.end()));
        waiting_.clear();
        std::inplace_merge(settled_.begin(), settled_.begin() + middle, settled_.end(),
                           [](const Entry& a, const Entry& b) { return a.line() < b.line(); });
        ++generation_;
    }
    Entry* settleFinding(const CoverageProbe* probe) {
        join();
        for (Entry& entry : settled_)
            if (entry.probe.get() == probe) return &entry;
        return nullptr;
    }

    mutable std::vector<Entry> settled_;
    mutable std::vector<Entry> waiting_;
    mutable std::uint64_t generation_ = 0;
    std::size_t trimmedAt_ = 0; // size at the last trim()
};

} // namespace kiv
