#pragma once

// Lookup structures behind CoverageFunction::addProbe. Internal to the model
// library.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>
#include <unordered_map>
#include <utility>

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
    using Iterator = ProbeMap::iterator;

    // The linedir_in_function probes leading to one file.
    struct DirectiveCandidates {
        std::size_t count = 0;
        std::unordered_map<std::uint32_t, CoverageProbe*> firstByLine;
    };

    // The probes of a crowded line, by group.
    struct CrowdedLine {
        void add(CoverageProbe& probe);
        const ProbeGroup* find(const ProbeGroupKey& key) const;

        std::unordered_map<ProbeGroupKey, ProbeGroup, ProbeGroupKeyHash, ProbeGroupKeyEqual> groups;
        std::uint64_t nextOrder = 0;
    };

    // Files a probe just inserted into `probes`.
    void add(ProbeMap& probes, Iterator it, std::uint32_t occurrences);
    // Takes the only line-directive candidate of its file, stored under
    // line, out of `probes` and destroys it.
    void removeOnlyDirective(ProbeMap& probes, std::uint32_t line, const CoverageProbe* probe);
    // Starts over from the probe map as it is.
    void rebuild(ProbeMap& probes);
    // The probes stored under line. Later occurrences announce their probes
    // in the order of the first, so the search starts where the last one
    // ended.
    std::pair<Iterator, Iterator> lineRange(ProbeMap& probes, std::uint32_t line);
    // The groups of a crowded line, built when missing.
    const CrowdedLine& crowdedLine(std::uint32_t line, Iterator from, Iterator to);

    std::unordered_map<const CoverageFile*, DirectiveCandidates> directives;
    std::unordered_map<std::uint32_t, CrowdedLine> crowded;
    std::size_t indexed = 0;  // size of the probe map the index describes
    std::size_t lastFrom = 0; // the line range found last
    std::size_t lastTo = 0;

    // Every probe before position `cursor` has at least `cursorOccurrences`
    // merges. Within one occurrence merge counts only grow, so the cursor
    // only moves forward; it starts again from the front when another
    // occurrence begins, and steps back to a lagging probe inserted before
    // it.
    bool cursorSet = false;
    std::uint32_t cursorOccurrences = 0;
    std::size_t cursor = 0;

  private:
    void buildCrowded(std::uint32_t line, Iterator from, Iterator to);
};

} // namespace kiv
