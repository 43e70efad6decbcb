#include "model/coverage_function.hpp"
#include "model/probe_identity.hpp"
#include "model/probe_index.hpp"

namespace kiv {

namespace {

std::size_t countOf(const ProbeGroup* group) {
    return group == nullptr ? 0 : group->count();
}

// Whether the candidates of both groups together carry a single sc_count value.
bool singleScCount(const ProbeGroup* a, const ProbeGroup* b) {
    if (countOf(a) == 0) return b->distinctScCounts() == 1;
    if (countOf(b) == 0) return a->distinctScCounts() == 1;
    return a->distinctScCounts() == 1 && b->distinctScCounts() == 1 &&
           a->firstScCount() == b->firstScCount();
}

const ProbeGroup::Entry* earlier(const ProbeGroup::Entry* a, const ProbeGroup::Entry* b) {
    if (a == nullptr) return b;
    if (b == nullptr) return a;
    return a->order < b->order ? a : b;
}

const ProbeGroup::Entry* firstWith(const ProbeGroup* group, std::uint32_t scCount) {
    return countOf(group) == 0 ? nullptr : group->firstWithScCount(scCount);
}

const ProbeGroup::Entry& lastOf(const ProbeGroup* a, const ProbeGroup* b) {
    if (countOf(a) == 0) return b->last();
    if (countOf(b) == 0) return a->last();
    return a->last().order > b->last().order ? a->last() : b->last();
}

// Whether a stored probe is the same probe as the one announced with
// `context`.
bool isCandidate(const CoverageProbe& stored, const ProbeRecord& probe, std::string_view context) {
    return stored.nesting == probe.nesting && stored.line == probe.probeLine &&
           stored.type == probe.type && (stored.context.empty() || stored.context == context) &&
           significantSequence(stored.type, stored.sequence()) ==
               significantSequence(probe.type, probe.sequence) &&
           sameDescription(stored.type, stored.description, probe.description);
}

// The candidates among the probes of a line, in their order.
CoverageFunction::Candidates
candidatesOnLine(const CoverageFunction::MergeIndex::LineProbes& onLine, const ProbeRecord& probe,
                 std::string_view context) {
    CoverageFunction::Candidates found;
    onLine.forEach([&](CoverageProbe& stored) {
        if (!isCandidate(stored, probe, context)) return;
        const std::uint32_t scCount = stored.firstScCount();
        if (found.count == 0) {
            found.first = &stored;
            found.firstScCount = scCount;
        } else if (scCount != found.firstScCount) {
            found.singleScCount = false;
        }
        if (found.firstWithScCount == nullptr && scCount == probe.scCount)
            found.firstWithScCount = &stored;
        found.last = &stored;
        ++found.count;
    });
    return found;
}

} // namespace

CoverageProbe* CoverageFunction::findMatchingProbe(const ProbeRecord& probe) {
    return findMatchingProbe(probe, probe.context);
}

CoverageProbe* CoverageFunction::findMatchingProbe(const ProbeRecord& probe,
                                                   std::string_view context) {
    MergeIndex& index = mergeIndex();
    const MergeIndex::LineProbes onLine = index.lineRange(probes, probe.probeLine);
    if (onLine.count() <= kCrowdedLine) {
        const Candidates found = candidatesOnLine(onLine, probe, context);
        return choose(found, probe);
    }

    // The candidates on a crowded line are those filed under the new probe's
    // key with no context of their own, and those filed under its key with
    // its own context.
    const MergeIndex::CrowdedLine& line = index.crowdedLine(probe.probeLine, onLine);
    ProbeGroupKey key{probe.probeLine,   probe.nesting,
                      probe.type,        significantSequence(probe.type, probe.sequence),
                      probe.description, {}};
    const ProbeGroup* shared = line.find(key);
    const ProbeGroup* own = nullptr;
    if (!context.empty()) {
        key.context = context;
        own = line.find(key);
    }

    const std::size_t candidates = countOf(shared) + countOf(own);
    if (candidates == 0) {
        markStatementUnavailable();
        return nullptr;
    }
    if (candidates == 1) {
        CoverageProbe* only = countOf(shared) != 0 ? shared->first().probe : own->first().probe;
        if (only->firstScCount() != probe.scCount) {
            markStatementUnavailable();
        } else if (statementAvailable != "no" && probeMissingBefore(probe.probeLine)) {
            markStatementUnavailable();
        }
        return only;
    }
    if (singleScCount(shared, own)) {
        markStatementUnavailable();
        return lastOf(shared, own).probe;
    }
    const ProbeGroup::Entry* match =
        earlier(firstWith(shared, probe.scCount), firstWith(own, probe.scCount));
    if (match == nullptr) {
        markStatementUnavailable();
        return nullptr;
    }
    return match->probe;
}

// The rules over the candidates of a line walked in order: no candidate, no
// target; one, it (statement coverage is lost when its sc_count differs or an
// earlier occurrence lacked a probe before it); several sharing one sc_count,
// the last; several with different values, the first with the new probe's
// value.
CoverageProbe* CoverageFunction::choose(const Candidates& found, const ProbeRecord& probe) {
    if (found.count == 0) {
        markStatementUnavailable();
        return nullptr;
    }
    if (found.count == 1) {
        if (found.firstScCount != probe.scCount) {
            markStatementUnavailable();
        } else if (statementAvailable != "no" && probeMissingBefore(probe.probeLine)) {
            // An earlier occurrence lacked a probe before this one.
            markStatementUnavailable();
        }
        return found.first;
    }
    if (found.singleScCount) {
        markStatementUnavailable();
        return found.last;
    }
    if (found.firstWithScCount == nullptr) markStatementUnavailable();
    return found.firstWithScCount;
}

bool CoverageFunction::probeMissingBefore(std::uint32_t line) {
    MergeIndex& index = mergeIndex();
    index.follow(probes);
    if (!index.cursorSet || index.cursorOccurrences != occurrences) {
        index.cursor = 0;
        index.cursorOccurrences = occurrences;
        index.cursorSet = true;
    }
    const std::vector<ProbeMap::Entry>& ordered = probes.ordered();
    while (index.cursor < ordered.size() && ordered[index.cursor].probe->mergeCount >= occurrences)
        ++index.cursor;
    if (index.cursor < ordered.size() && ordered[index.cursor].line() < line) return true;
    // The waiting probes, few, one by one.
    for (const ProbeMap::Entry& entry : probes.waiting()) {
        if (entry.line() >= line) break;
        if (entry.probe->mergeCount < occurrences) return true;
    }
    return false;
}

} // namespace kiv
