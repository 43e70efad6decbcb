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

} // namespace

CoverageProbe* CoverageFunction::findMatchingProbe(const ProbeRecord& probe) {
    return findMatchingProbe(probe, probe.context);
}

// The candidates are the probes on the new probe's line that are the same
// probe: those filed under the new probe's key with no context of their own,
// and those filed under its key with its own context.
CoverageProbe* CoverageFunction::findMatchingProbe(const ProbeRecord& probe,
                                                   std::string_view context) {
    const MergeIndex& index = mergeIndex();
    ProbeGroupKey key{probe.probeLine,   probe.nesting,
                      probe.type,        significantSequence(probe.type, probe.sequence),
                      probe.description, {}};
    const ProbeGroup* shared = index.findGroup(key);
    const ProbeGroup* own = nullptr;
    if (!context.empty()) {
        key.context = context;
        own = index.findGroup(key);
    }

    const std::size_t candidates = countOf(shared) + countOf(own);
    if (candidates == 0) {
        markStatementUnavailable();
        return nullptr;
    }
    if (candidates == 1) {
        CoverageProbe* only = countOf(shared) != 0 ? shared->first().probe : own->first().probe;
        if (only->scCounts.front() != probe.scCount) {
            markStatementUnavailable();
        } else if (statementAvailable != "no" && probeMissingBefore(probe.probeLine)) {
            // An earlier occurrence lacked a probe before this one.
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

bool CoverageFunction::probeMissingBefore(std::uint32_t line) {
    MergeIndex& index = mergeIndex();
    if (!index.cursorSet || index.cursorOccurrences != occurrences) {
        index.cursor = probes.begin();
        index.cursorOccurrences = occurrences;
        index.cursorSet = true;
    }
    while (index.cursor != probes.end() && index.cursor->second->mergeCount >= occurrences)
        ++index.cursor;
    return index.cursor != probes.end() && index.cursor->first < line;
}

} // namespace kiv
