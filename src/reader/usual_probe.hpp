#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "model/records.hpp"
#include "reader/probe_keywords.hpp"

namespace kiv {

// A body probe written in the report's usual form, read in one pass over its
// two lines. The first line's attribute text is
//     type="T" [sc_count="N" | eval_no="N"] nesting="N"
// and the second line is
//     line="N" [count1="N"] [count2="N"] descr="D" />
// with single blanks, a known type T, decimal numbers N of at most nine
// digits without a leading zero (or "0"), and a description D without a
// double quote. Nearly every probe of a report has this form; reading it so
// gives the record that splitting and checking the attributes would give, at
// a fraction of the cost. Every other form (more attributes, another order or
// spacing, other numbers, an unknown type) is left to the general reading,
// which also finds its faults.
struct UsualProbe {
    const ProbeKeyword* keyword = nullptr;
    std::uint32_t nesting = 0;
    std::uint32_t line = 0;
    std::array<std::uint32_t, 2> counters{};
    std::uint32_t scCount = 0;
    bool hasCount1 = false;
    bool escaped = false;         // the description holds an entity
    std::string_view evalNo;      // as written; empty when not given
    std::string_view description; // as written
};

// Reads the two lines as a probe of the usual form; false, and probe left
// undefined, when they are not in that form.
bool readUsualProbe(std::string_view first, std::string_view second, UsualProbe& probe);

// The record of the probe, as fillProbeRecord() makes it from its texts.
// The record keeps the storage of its description.
void fillUsualRecord(const UsualProbe& probe, ProbeRecord& record);

} // namespace kiv
