#pragma once

// Lookup structures behind CoverageFunction::addProbe. Internal to the model
// library.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "model/coverage_function.hpp"

namespace kiv {

// A line holding more probes than this is matched through the groups of its
// probes; the probes of any other line are simply walked.
inline constexpr std::size_t kCrowdedLine = 32;

// Everything that makes two probes the same except the context rule: probe
// line, nesting, type, ternary number and description (mcdc verdicts
// ignored), plus the context of the probes filed under the key. The views
// point into the first probe filed under the key, or into the record looked
// up.
struct ProbeGroupKey {
    std::uint32_t line = 0;
    std::uint32_t nesting = 0;
    std::uint8_t type = 0;
    std::uint32_t sequence = 0;
    std::string_view description;
    std::string_view context;
};

struct ProbeGroupKeyHash {
    std::size_t operator()(const ProbeGroupKey& key) const;
};

struct ProbeGroupKeyEqual {
    bool operator()(const ProbeGroupKey& a, const ProbeGroupKey& b) const;
};

// The probes filed under one key, in probe map order (they share a line, so
// insertion order). Answers the questions of the candidate rules in constant
// time: how many, how many distinct sc_count values, the first probe with a
// given sc_count, the last probe.
class ProbeGroup {
  public:
    struct Entry {
        CoverageProbe* probe = nullptr;
        std::uint64_t order = 0; // insertion number within the line
    };

    void add(CoverageProbe* probe, std::uint64_t order);

    std::size_t count() const { return count_; }
    std::size_t distinctScCounts() const {
        return count_ == 0 ? 0 : 1 + (others_ ? others_->size() : 0);
    }
    std::uint32_t firstScCount() const { return firstScCount_; }
    const Entry& first() const { return first_; }
    const Entry& last() const { return last_; }
    // The first probe whose sc_count is `scCount`, or null.
    const Entry* firstWithScCount(std::uint32_t scCount) const;

  private:
    std::size_t count_ = 0;
    std::uint32_t firstScCount_ = 0;
    Entry first_;
    Entry last_;
    // First probe of every sc_count value other than the first probe's; only
    // allocated once a group holds two values.
    std::unique_ptr<std::unordered_map<std::uint32_t, Entry>> others_;
};

// Cost of one addProbe: finding the new probe's line (a binary search, or
// none when the probes come in the order of the previous occurrence) and
// comparing the few probes on it; on a crowded line a hash of the
// description and context and a few constant-time group queries, however
// many equal probes share the line. The missing-probe check walks each probe
// at most once per occurrence. Nothing here grows with the number of probes
// except on crowded lines and for line directives.
struct CoverageFunction::MergeIndex {
    using Iterator = std::vector<ProbeMap::Entry>::iterator;

    // The linedir_in_function probes leading to one file.
    struct DirectiveCandidates {
        std::size_t count = 0;
        std::unordered_map<std::uint32_t, CoverageProbe*> firstByLine;
    };

    // The probes stored under one line: some in the ordered part of the
    // probe map, then some waiting (see ProbeMap).
    struct LineProbes {
        Iterator from, to;
        Iterator waitingFrom, waitingTo;
        std::size_t count() const {
            return static_cast<std::size_t>((to - from) + (waitingTo - waitingFrom));
        }
        template <typename F> void forEach(F&& f) const {
            for (auto it = from; it != to; ++it)
                f(*it->probe);
            for (auto it = waitingFrom; it != waitingTo; ++it)
                f(*it->probe);
        }
    };

    // The probes of a crowded line, by group.
    struct CrowdedLine {
        void add(CoverageProbe& probe);
        const ProbeGroup* find(const ProbeGroupKey& key) const;

        std::unordered_map<ProbeGroupKey, ProbeGroup, ProbeGroupKeyHash, ProbeGroupKeyEqual> groups;
        std::uint64_t nextOrder = 0;
    };

    // Files a probe just added to `probes` under line.
    void add(ProbeMap& probes, CoverageProbe& probe, std::uint32_t line, std::uint32_t occurrences);
    // Takes the only line-directive candidate of its file, stored under
    // line, out of `probes` and destroys it.
    void removeOnlyDirective(ProbeMap& probes, std::uint32_t line, const CoverageProbe* probe);
    // Starts over from the probe map as it is.
    void rebuild(ProbeMap& probes);
    // Forgets the positions in the probe map once its waiting probes joined
    // the others.
    void follow(const ProbeMap& probes);
    // The probes stored under line. Later occurrences announce their probes
    // in the order of the first, so the search starts where the last one
    // ended.
    LineProbes lineRange(ProbeMap& probes, std::uint32_t line);
    // The groups of a crowded line, built when missing.
    const CrowdedLine& crowdedLine(std::uint32_t line, const LineProbes& probes);

    std::unordered_map<const CoverageFile*, DirectiveCandidates> directives;
    std::unordered_map<std::uint32_t, CrowdedLine> crowded;
    std::size_t indexed = 0;      // size of the probe map the index describes
    std::uint64_t generation = 0; // of the probe map the positions below refer to
    std::size_t lastFrom = 0;     // the line range found last, in the ordered part
    std::size_t lastTo = 0;

    // Every probe before position `cursor` of the ordered part has at least
    // `cursorOccurrences` merges. Within one occurrence merge counts only
    // grow, so the cursor only moves forward; it starts again from the front
    // when another occurrence begins, and steps back to a lagging probe
    // appended before it. Waiting probes are looked at one by one.
    bool cursorSet = false;
    std::uint32_t cursorOccurrences = 0;
    std::size_t cursor = 0;

  private:
    void buildCrowded(std::uint32_t line, const LineProbes& probes);
};

} // namespace kiv
