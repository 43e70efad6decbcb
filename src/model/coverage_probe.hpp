#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "model/condition_texts.hpp"
#include "model/coverage_common.hpp"
#include "model/probe_type.hpp"
#include "model/records.hpp"
#include "model/run_list.hpp"
#include "model/shared_text.hpp"

namespace kiv {

class CoverageFile;

// One measurement point, merged over every occurrence.
class CoverageProbe : public CoverageCommon {
  public:
    // Texts kept in `texts`, when given, are shared with every probe that
    // has them.
    explicit CoverageProbe(ProbeRecord&& record, TextPool* texts = nullptr);

    // Probes live in slots cut from large chunks (probe_storage.cpp).
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
    // The number of occurrences merged into the probe, the first included.
    std::uint64_t occurrences() const { return sourceLines.size(); }
    // The largest of the source lines and the smallest of the directive
    // lines of its occurrences; both lists must hold an entry
    // (std::out_of_range otherwise).
    std::uint32_t largestSourceLine() const { return sourceLines.max(); }
    std::uint32_t smallestDirectiveLine() const { return directiveLines.min(); }

    // A model holds millions of probes: the fields are ordered to leave no
    // padding, and the rarely used ones cost a pointer each.

    // --- Set by the reader and merged by the model.
    SharedText description;
    SharedText context;
    RunList sourceLines;
    RunList directiveLines;
    RunList scCounts;
    CoverageFile* owner = nullptr;
    std::array<std::uint32_t, 2> counters{};
    std::uint32_t line = 0; // probe line, the key in the function's probe map
    std::uint32_t sequence = 0;
    std::uint32_t nesting = 0;
    std::uint32_t mergeCount = 0;
    std::uint8_t type = 0;
    std::uint8_t outcomeClass = 0; // 1 to 6
    std::uint8_t possible : 4 = 0; // outcomes: 0 to 2, one byte for both
    std::uint8_t covered : 4 = 0;

    // --- Filled when the model is finished.
    char statementMark = 0;             // '+', '-' or 0 when not a statement
    std::uint32_t evaluationNumber = 0; // multi_cond_t / multi_cond_f
    ConditionTexts conditions;          // mcdc: one text per condition

  private:
    void addOccurrence(const std::array<std::uint32_t, 2>& otherCounters);
};

} // namespace kiv
