#include "model/probe_index.hpp"

#include <functional>

#include "model/probe_identity.hpp"

namespace kiv {

namespace {

std::size_t mix(std::size_t seed, std::size_t value) {
    return seed ^ (value + 0x9e3779b97f4a7c15ULL + (seed << 6) + (seed >> 2));
}

std::size_t hashDescription(unsigned type, std::string_view text) {
    if (type != kMcdc) return std::hash<std::string_view>{}(text);
    std::uint64_t hash = 1469598103934665603ULL; // FNV-1a, verdicts neutralised
    for (const char c : text) {
        hash ^= static_cast<unsigned char>(mcdcNeutral(c));
        hash *= 1099511628211ULL;
    }
    return static_cast<std::size_t>(hash);
}

ProbeGroupKey keyOf(const CoverageProbe& probe) {
    return ProbeGroupKey{probe.line,        probe.nesting,
                         probe.type,        significantSequence(probe.type, probe.sequence),
                         probe.description, probe.context};
}

// Probes that findMatchingProbe can choose: all but function probes (matched
// by position) and linedir_in_function probes (matched by their own rule).
bool matchedByGroup(const CoverageProbe& probe) {
    return probe.type != kFunction && probe.type != kLinedirInFunction;
}

} // namespace

std::size_t ProbeGroupKeyHash::operator()(const ProbeGroupKey& key) const {
    std::size_t hash = hashDescription(key.type, key.description);
    hash = mix(hash, std::hash<std::string_view>{}(key.context));
    hash = mix(hash, key.line);
    hash = mix(hash, key.nesting);
    hash = mix(hash, key.type);
    return mix(hash, key.sequence);
}

bool ProbeGroupKeyEqual::operator()(const ProbeGroupKey& a, const ProbeGroupKey& b) const {
    return a.line == b.line && a.nesting == b.nesting && a.type == b.type &&
           a.sequence == b.sequence && a.context == b.context &&
           sameDescription(a.type, a.description, b.description);
}

void ProbeGroup::add(CoverageProbe* probe, std::uint64_t order) {
    const std::uint32_t scCount = probe->scCounts.front();
    const Entry entry{probe, order};
    if (count_ == 0) {
        first_ = entry;
        firstScCount_ = scCount;
    } else if (scCount != firstScCount_) {
        if (!others_) others_ = std::make_unique<std::unordered_map<std::uint32_t, Entry>>();
        others_->emplace(scCount, entry); // an earlier probe with this value stays
    }
    last_ = entry;
    ++count_;
}

const ProbeGroup::Entry* ProbeGroup::firstWithScCount(std::uint32_t scCount) const {
    if (count_ == 0) return nullptr;
    if (scCount == firstScCount_) return &first_;
    if (!others_) return nullptr;
    const auto found = others_->find(scCount);
    return found == others_->end() ? nullptr : &found->second;
}

void CoverageFunction::MergeIndex::CrowdedLine::add(CoverageProbe& probe) {
    if (!matchedByGroup(probe)) return;
    groups.try_emplace(keyOf(probe)).first->second.add(&probe, nextOrder++);
}

const ProbeGroup* CoverageFunction::MergeIndex::CrowdedLine::find(const ProbeGroupKey& key) const {
    const auto found = groups.find(key);
    return found == groups.end() ? nullptr : &found->second;
}

void CoverageFunction::MergeIndex::buildCrowded(std::uint32_t line, Iterator from, Iterator to) {
    CrowdedLine& groups = crowded[line];
    groups = CrowdedLine{};
    for (auto it = from; it != to; ++it)
        groups.add(*it->second);
}

const CoverageFunction::MergeIndex::CrowdedLine&
CoverageFunction::MergeIndex::crowdedLine(std::uint32_t line, Iterator from, Iterator to) {
    const auto found = crowded.find(line);
    if (found != crowded.end()) return found->second;
    buildCrowded(line, from, to);
    return crowded[line];
}

void CoverageFunction::MergeIndex::add(ProbeMap& probes, Iterator it, std::uint32_t occurrences) {
    CoverageProbe& probe = *it->second;
    const std::uint32_t line = it->first;
    const auto position = static_cast<std::size_t>(it - probes.begin());
    if (probe.type == kLinedirInFunction) {
        DirectiveCandidates& candidates = directives[probe.owner];
        ++candidates.count;
        candidates.firstByLine.emplace(line, &probe);
    } else if (probe.type != kFunction) {
        const auto found = crowded.find(line);
        if (found != crowded.end()) {
            found->second.add(probe);
        } else {
            const auto [from, to] = probes.equal_range(line);
            if (static_cast<std::size_t>(to - from) > kCrowdedLine) buildCrowded(line, from, to);
        }
    }
    ++indexed;

    if (!cursorSet) return;
    if (position <= cursor) ++cursor; // the probe at the cursor moved one place on
    if (cursorOccurrences == occurrences && probe.mergeCount < occurrences &&
        (cursor == probes.size() ||
         line < probes.begin()[static_cast<std::ptrdiff_t>(cursor)].first))
        cursor = position;
}

void CoverageFunction::MergeIndex::removeOnlyDirective(ProbeMap& probes, std::uint32_t line,
                                                       const CoverageProbe* probe) {
    const auto [from, to] = probes.equal_range(line);
    for (auto it = from; it != to; ++it) {
        if (it->second.get() != probe) continue;
        directives.erase(probe->owner);
        const auto position = static_cast<std::size_t>(it - probes.begin());
        if (cursorSet && position < cursor) --cursor;
        probes.erase(it);
        --indexed;
        return;
    }
}

void CoverageFunction::MergeIndex::rebuild(ProbeMap& probes) {
    directives.clear();
    crowded.clear();
    indexed = 0;
    lastFrom = 0;
    lastTo = 0;
    cursorSet = false;
    for (auto it = probes.begin(); it != probes.end(); ++it) {
        CoverageProbe& probe = *it->second;
        if (probe.type == kLinedirInFunction) {
            DirectiveCandidates& candidates = directives[probe.owner];
            ++candidates.count;
            candidates.firstByLine.emplace(it->first, &probe);
        }
    }
    for (auto from = probes.begin(); from != probes.end();) {
        auto to = from;
        while (to != probes.end() && to->first == from->first)
            ++to;
        if (static_cast<std::size_t>(to - from) > kCrowdedLine) buildCrowded(from->first, from, to);
        from = to;
    }
    indexed = probes.size();
}

std::pair<CoverageFunction::MergeIndex::Iterator, CoverageFunction::MergeIndex::Iterator>
CoverageFunction::MergeIndex::lineRange(ProbeMap& probes, std::uint32_t line) {
    const std::size_t size = probes.size();
    const auto at = [&probes](std::size_t position) {
        return probes.begin()[static_cast<std::ptrdiff_t>(position)].first;
    };
    // Where the line range starts, if it starts at one of the two last ends.
    for (const std::size_t start : {lastTo, lastFrom}) {
        if (start >= size || at(start) != line || (start != 0 && at(start - 1) >= line)) continue;
        std::size_t end = start + 1;
        while (end < size && at(end) == line && end - start <= kCrowdedLine)
            ++end;
        if (end < size && at(end) == line) break; // a crowded line: search its end
        lastFrom = start;
        lastTo = end;
        return {probes.begin() + static_cast<std::ptrdiff_t>(start),
                probes.begin() + static_cast<std::ptrdiff_t>(end)};
    }
    const auto range = probes.equal_range(line);
    lastFrom = static_cast<std::size_t>(range.first - probes.begin());
    lastTo = static_cast<std::size_t>(range.second - probes.begin());
    return range;
}

} // namespace kiv
