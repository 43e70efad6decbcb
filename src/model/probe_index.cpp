#include "model/probe_index.hpp"

#include <algorithm>
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
                         probe.type,        significantSequence(probe.type, probe.sequence()),
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
    const std::uint32_t scCount = probe->firstScCount();
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

void CoverageFunction::MergeIndex::buildCrowded(std::uint32_t line, const LineProbes& probes) {
    CrowdedLine& groups = crowded[line];
    groups = CrowdedLine{};
    probes.forEach([&groups](CoverageProbe& probe) { groups.add(probe); });
}

const CoverageFunction::MergeIndex::CrowdedLine&
CoverageFunction::MergeIndex::crowdedLine(std::uint32_t line, const LineProbes& probes) {
    const auto found = crowded.find(line);
    if (found != crowded.end()) return found->second;
    buildCrowded(line, probes);
    return crowded[line];
}

void CoverageFunction::MergeIndex::follow(const ProbeMap& probes) {
    if (generation == probes.generation()) return;
    generation = probes.generation();
    lastFrom = 0;
    lastTo = 0;
    cursorSet = false;
}

void CoverageFunction::MergeIndex::add(ProbeMap& probes, CoverageProbe& probe, std::uint32_t line,
                                       std::uint32_t occurrences) {
    follow(probes);
    if (probe.type == kLinedirInFunction) {
        DirectiveCandidates& candidates = directives[probe.owner()];
        ++candidates.count;
        candidates.firstByLine.emplace(line, &probe);
    } else if (probe.type != kFunction) {
        const auto found = crowded.find(line);
        if (found != crowded.end()) {
            found->second.add(probe);
        } else {
            const LineProbes onLine = lineRange(probes, line);
            if (onLine.count() > kCrowdedLine) buildCrowded(line, onLine);
        }
    }
    ++indexed;

    // Only a probe appended to the ordered part can be behind the cursor.
    const std::vector<ProbeMap::Entry>& ordered = probes.ordered();
    if (!cursorSet || ordered.empty() || ordered.back().probe.get() != &probe) return;
    const std::size_t position = ordered.size() - 1;
    if (position <= cursor) ++cursor; // the cursor stood at the end
    if (cursorOccurrences == occurrences && probe.mergeCount < occurrences &&
        (cursor == ordered.size() || line < ordered[cursor].line()))
        cursor = position;
}

void CoverageFunction::MergeIndex::removeOnlyDirective(ProbeMap& probes, std::uint32_t line,
                                                       const CoverageProbe* probe) {
    follow(probes);
    const LineProbes onLine = lineRange(probes, line);
    for (auto it = onLine.from; it != onLine.to; ++it) {
        if (it->probe.get() != probe) continue;
        directives.erase(probe->owner());
        const auto position = static_cast<std::size_t>(it - probes.ordered().begin());
        if (cursorSet && position < cursor) --cursor;
        lastFrom = 0;
        lastTo = 0;
        probes.ordered().erase(it);
        --indexed;
        return;
    }
    for (auto it = onLine.waitingFrom; it != onLine.waitingTo; ++it) {
        if (it->probe.get() != probe) continue;
        directives.erase(probe->owner());
        probes.waiting().erase(it);
        --indexed;
        return;
    }
}

void CoverageFunction::MergeIndex::rebuild(ProbeMap& probes) {
    probes.settle();
    directives.clear();
    crowded.clear();
    indexed = 0;
    generation = probes.generation();
    lastFrom = 0;
    lastTo = 0;
    cursorSet = false;
    std::vector<ProbeMap::Entry>& ordered = probes.ordered();
    for (ProbeMap::Entry& entry : ordered) {
        CoverageProbe& probe = *entry.probe;
        if (probe.type == kLinedirInFunction) {
            DirectiveCandidates& candidates = directives[probe.owner()];
            ++candidates.count;
            candidates.firstByLine.emplace(entry.line(), &probe);
        }
    }
    const Iterator none = probes.waiting().end();
    for (auto from = ordered.begin(); from != ordered.end();) {
        auto to = from;
        while (to != ordered.end() && to->line() == from->line())
            ++to;
        if (static_cast<std::size_t>(to - from) > kCrowdedLine)
            buildCrowded(from->line(), LineProbes{from, to, none, none});
        from = to;
    }
    indexed = probes.size();
}

CoverageFunction::MergeIndex::LineProbes
CoverageFunction::MergeIndex::lineRange(ProbeMap& probes, std::uint32_t line) {
    std::vector<ProbeMap::Entry>& ordered = probes.ordered();
    std::vector<ProbeMap::Entry>& waiting = probes.waiting();
    LineProbes found{ordered.end(), ordered.end(), waiting.end(), waiting.end()};
    if (!waiting.empty()) {
        found.waitingFrom = std::lower_bound(
            waiting.begin(), waiting.end(), line,
            [](const ProbeMap::Entry& entry, std::uint32_t value) { return entry.line() < value; });
        found.waitingTo = found.waitingFrom;
        while (found.waitingTo != waiting.end() && found.waitingTo->line() == line)
            ++found.waitingTo;
    }

    const std::size_t size = ordered.size();
    const auto at = [&ordered](std::size_t position) { return ordered[position].line(); };
    // Where the line range starts, if it starts at one of the two last ends.
    for (const std::size_t start : {lastTo, lastFrom}) {
        if (start >= size || at(start) != line || (start != 0 && at(start - 1) >= line)) continue;
        std::size_t end = start + 1;
        while (end < size && at(end) == line && end - start <= kCrowdedLine)
            ++end;
        if (end < size && at(end) == line) break; // a crowded line: search its end
        lastFrom = start;
        lastTo = end;
        found.from = ordered.begin() + static_cast<std::ptrdiff_t>(start);
        found.to = ordered.begin() + static_cast<std::ptrdiff_t>(end);
        return found;
    }
    found.from = std::lower_bound(
        ordered.begin(), ordered.end(), line,
        [](const ProbeMap::Entry& entry, std::uint32_t value) { return entry.line() < value; });
    found.to = std::upper_bound(
        found.from, ordered.end(), line,
        [](std::uint32_t value, const ProbeMap::Entry& entry) { return value < entry.line(); });
    lastFrom = static_cast<std::size_t>(found.from - ordered.begin());
    lastTo = static_cast<std::size_t>(found.to - ordered.begin());
    return found;
}

} // namespace kiv
