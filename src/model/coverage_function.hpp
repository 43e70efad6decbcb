#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "model/coverage_common.hpp"
#include "model/coverage_probe.hpp"
#include "model/distinct_list.hpp"
#include "model/probe_map.hpp"
#include "model/records.hpp"
#include "model/run_list.hpp"

namespace kiv {

class CoverageFile;

class CoverageFunction : public CoverageCommon {
  public:
    CoverageFunction(std::string name, std::uint32_t line, std::string parameters,
                     const FunctionHeader& header);
    ~CoverageFunction() override;

    // Functions live in slots cut from large chunks (object_slots.cpp).
    static void* operator new(std::size_t size);
    static void operator delete(void* memory, std::size_t size) noexcept;

    bool sameFunction(std::string_view otherName, std::uint32_t otherLine,
                      std::string_view otherParameters) const {
        return definedAtLine == otherLine && name == otherName && parameters == otherParameters;
    }
    // Adds a further occurrence's header: calls and costs (saturating),
    // directive lines.
    void mergeHeader(const FunctionHeader& header);
    // Adds or merges a probe of this function. Probes are meant to enter the
    // probe map only through here: the lookup structures behind the merging
    // follow the map, and are rebuilt when its size shows a change made
    // elsewhere.
    void addProbe(ProbeRecord&& probe);
    // The probe of a later occurrence that `probe` merges into, or null; marks
    // statement coverage unavailable where the occurrences disagree. Uses the
    // record's own description context.
    CoverageProbe* findMatchingProbe(const ProbeRecord& probe);
    // The reader moved on to another function: the probe map gives back the
    // room it kept for more probes (on the thread that adds the probes, whose
    // allocator then reuses it).
    void endOfBody() { probes.trim(); }
    // No more probes come: the lookup structures of the merging are given
    // back.
    void finishMerging();
    // Where the texts of new probes are kept (shared with the rest of the
    // model); without a pool every probe keeps its own.
    void keepTextsIn(TextPool* texts) { texts_ = texts; }

    std::string name;
    std::uint32_t definedAtLine = 0;
    std::string parameters;
    std::uint32_t hits = 0;
    std::uint32_t all = 0;
    std::uint32_t ter = 100;
    std::string statementAvailable = "yes";
    std::uint32_t statementHits = 0;
    std::uint32_t statementAll = 0;
    std::uint32_t statementTer = 100;
    RunList directiveProbeLines;   // one per occurrence: line of the opening line directive
    RunList directiveNumbers;      // one per occurrence: line number the directive names
    std::uint32_t occurrences = 0; // further occurrences merged into this function
    std::string lastDescription;

    // --- Filled when the model is finished.
    std::uint32_t returnLine = 0;      // largest directive probe line
    std::uint32_t returnDirective = 0; // smallest directive number
    std::uint32_t length = 0;
    std::uint32_t points = 0;
    bool tryBlock = false;
    std::string terText;
    std::string statementTerText;

    std::uint32_t callCount = 0;
    std::int32_t totalExecutionCost = 0;
    double averageExecutionCost = 0;
    std::int32_t maxExecutionCost = 0;
    DistinctList headerParts;
    FunctionHeader firstHeader;
    ProbeMap probes;

    // --- The merging's own (model library only).
    // Lookup structures behind addProbe (probe_index.hpp).
    struct MergeIndex;
    // What findMatchingProbe finds among the probes of a line of few probes,
    // walking them in order.
    struct Candidates {
        std::size_t count = 0;
        CoverageProbe* first = nullptr;
        CoverageProbe* last = nullptr;
        CoverageProbe* firstWithScCount = nullptr; // the first with the new probe's sc_count
        std::uint32_t firstScCount = 0;
        bool singleScCount = true; // all candidates share one sc_count
    };

  private:
    MergeIndex& mergeIndex();
    void markStatementUnavailable() {
        if (statementAvailable != "no") statementAvailable = "no";
    }
    CoverageProbe* findMatchingProbe(const ProbeRecord& probe, std::string_view context);
    CoverageProbe* choose(const Candidates& found, const ProbeRecord& probe);
    CoverageProbe* applyLineDirectiveRule(const ProbeRecord& probe);
    // True when a probe on a line before `line` has fewer merges than there
    // were further occurrences.
    bool probeMissingBefore(std::uint32_t line);
    void insertProbe(ProbeRecord&& probe);

    std::unique_ptr<MergeIndex> index_; // lookup structures of the merging, built on demand
    TextPool* texts_ = nullptr;
};

} // namespace kiv
