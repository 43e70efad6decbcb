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

void CoverageFunction::MergeIndex::add(ProbeMap& probes, Iterator it, std::uint32_t occurrences) {
    CoverageProbe& probe = *it->second;
    const std::uint64_t order = nextOrder++;
    // function probes are matched by position and linedir_in_function probes
    // by their own rule; every other probe by its group.
    if (probe.type == kLinedirInFunction) {
        DirectiveCandidates& candidates = directives[probe.owner];
        ++candidates.count;
        candidates.firstByLine.emplace(it->first, it);
    } else if (probe.type != kFunction) {
        groups.try_emplace(keyOf(probe)).first->second.add(&probe, order);
    }
    ++indexed;

    if (cursorSet && cursorOccurrences == occurrences && probe.mergeCount < occurrences &&
        (cursor == probes.end() || it->first < cursor->first))
        cursor = it;
}

void CoverageFunction::MergeIndex::removeOnlyDirective(ProbeMap& probes, Iterator it) {
    directives.erase(it->second->owner);
    if (cursorSet && cursor == it) ++cursor;
    probes.erase(it);
    --indexed;
}

void CoverageFunction::MergeIndex::rebuild(ProbeMap& probes, std::uint32_t occurrences) {
    groups.clear();
    directives.clear();
    nextOrder = 0;
    indexed = 0;
    cursorSet = false;
    for (auto it = probes.begin(); it != probes.end(); ++it)
        add(probes, it, occurrences);
}

const ProbeGroup* CoverageFunction::MergeIndex::findGroup(const ProbeGroupKey& key) const {
    const auto found = groups.find(key);
    return found == groups.end() ? nullptr : &found->second;
}

} // namespace kiv
