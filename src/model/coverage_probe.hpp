#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "model/condition_texts.hpp"
#include "model/probe_type.hpp"
#include "model/records.hpp"
#include "model/run_list.hpp"
#include "model/shared_text.hpp"

namespace kiv {

class CoverageFile;

// One measurement point, merged over every occurrence.
//
// A model holds millions of probes, so a probe keeps only what nearly every
// probe needs. Its per-occurrence lists are left implicit while they hold
// what most probes have in every occurrence: the probe line as source line,
// no directive line (0) and no sc_count (0), one entry per occurrence. The
// first occurrence that differs, and every field that only some probes use
// (owner file, ternary number, condition texts), move the probe's lists into
// a side record of its own, allocated on first use.
class CoverageProbe {
  public:
    // Texts kept in `texts`, when given, are shared with every probe that
    // has them.
    explicit CoverageProbe(ProbeRecord&& record, TextPool* texts = nullptr);
    CoverageProbe(const CoverageProbe&) = delete;
    CoverageProbe& operator=(const CoverageProbe&) = delete;
    ~CoverageProbe();

    // Probes live in slots cut from large chunks (object_slots.cpp).
    static void* operator new(std::size_t size);
    static void operator delete(void* memory, std::size_t size) noexcept;

    // Same nesting, probe line and type; the context, when set here, must be
    // equal; then the descriptions (mcdc: with "-" read as "+"; ternary: and
    // the sequence numbers).
    bool sameProbe(const CoverageProbe& other) const;
    // Adds another occurrence: counts, line lists, counters with saturation.
    void merge(const CoverageProbe& other);
    // The same for an occurrence that was never built as a probe of its own.
    void merge(const ProbeRecord& other);
    // Possible and covered outcomes from type, class and counters.
    void computeOutcomes();

    // The type keyword of the reports.
    std::string_view typeName() const { return probeTypeName(type); }

    // --- The per-occurrence lists, one entry per occurrence merged into the
    // probe (copies: most probes do not store them).
    RunList sourceLines() const;
    RunList directiveLines() const;
    RunList scCounts() const;
    void setSourceLines(RunList lines);
    void setDirectiveLines(RunList lines);
    void setScCounts(RunList counts);
    // The number of occurrences merged into the probe, the first included.
    std::uint64_t occurrences() const;
    // The largest of the source lines and the smallest of the directive
    // lines of its occurrences; both lists must hold an entry
    // (std::out_of_range otherwise).
    std::uint32_t largestSourceLine() const;
    std::uint32_t smallestDirectiveLine() const;
    // The sc_count of the first occurrence (std::out_of_range when the list
    // is empty).
    std::uint32_t firstScCount() const;

    // --- Fields that few probes use.
    // The file a line-directive probe inside a function leads to, or null.
    CoverageFile* owner() const { return extra_ ? extra_->owner : nullptr; }
    void setOwner(CoverageFile* file);
    // Number among consecutive ternary probes on one line.
    std::uint32_t sequence() const { return extra_ ? extra_->sequence : 0; }
    void setSequence(std::uint32_t number);
    // mcdc: one text per condition, filled when the model is finished.
    const ConditionTexts& conditions() const;
    void setConditions(ConditionTexts texts);
    // Whether the probe has a side record (for tests of the storage).
    bool hasSideRecord() const { return extra_ != nullptr; }

    // --- Set by the reader and merged by the model. Ordered to leave no
    // padding.
    SharedText description;
    SharedText context;
    std::array<std::uint32_t, 2> counters{};
    std::uint32_t line = 0; // probe line, the key in the function's probe map
    std::uint32_t nesting = 0;
    std::uint32_t mergeCount = 0;
    std::uint8_t type = 0;
    std::uint8_t outcomeClass = 0; // 1 to 6
    std::uint8_t possible : 4 = 0; // outcomes: 0 to 2, one byte for both
    std::uint8_t covered : 4 = 0;

    // --- Filled when the model is finished.
    char statementMark = 0; // '+', '-' or 0 when not a statement

  private:
    // What only some probes need. Once it exists its lists hold every
    // occurrence.
    struct Extra {
        RunList sourceLines;
        RunList directiveLines;
        RunList scCounts;
        CoverageFile* owner = nullptr;
        ConditionTexts conditions;
        std::uint32_t sequence = 0;

        static void* operator new(std::size_t size);
        static void operator delete(void* memory, std::size_t size) noexcept;
    };

    // The side record, made on first use with the implicit lists written out.
    Extra& extra();
    // While there is no side record, the lists hold one entry per merge
    // plus the first occurrence.
    std::uint64_t implicitOccurrences() const { return std::uint64_t{mergeCount} + 1; }
    void addOccurrence(const std::array<std::uint32_t, 2>& otherCounters);

    std::unique_ptr<Extra> extra_;
};

} // namespace kiv
