#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "model/coverage_common.hpp"
#include "model/records.hpp"
#include "model/run_list.hpp"

namespace kiv {

class CoverageFile;

// One measurement point, merged over every occurrence.
class CoverageProbe : public CoverageCommon {
  public:
    explicit CoverageProbe(ProbeRecord&& record);

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

    // --- Set by the reader and merged by the model.
    std::uint8_t type = 0;
    std::string description;
    std::string_view typeName;
    std::uint32_t line = 0; // probe line, the key in the function's probe map
    std::uint32_t sequence = 0;
    RunList sourceLines;
    RunList directiveLines;
    RunList scCounts;
    std::array<std::uint32_t, 2> counters{};
    std::uint32_t outcomeClass = 0;
    std::uint32_t nesting = 0;
    std::string context;
    std::uint32_t mergeCount = 0;
    CoverageFile* owner = nullptr;
    std::uint32_t possible = 0;
    std::uint32_t covered = 0;

    // --- Filled when the model is finished.
    std::uint32_t largestSourceLine = 0;
    std::uint32_t smallestDirectiveLine = 0;
    std::uint64_t occurrences = 0;
    std::uint32_t evaluationNumber = 0; // multi_cond_t / multi_cond_f
    std::string lineText;
    std::vector<std::string> conditions; // mcdc: one text per condition
    char statementMark = 0;              // '+', '-' or 0 when not a statement

  private:
    void addOccurrence(const std::array<std::uint32_t, 2>& otherCounters);
};

} // namespace kiv
