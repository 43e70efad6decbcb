#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "reader/first_value_map.hpp"

namespace kiv {

class DiagnosticRecord;

// Splits the attribute text of an element line into its name="value" pairs
// and stores them in map (the first value of a name stays). Pairs are
// separated by exactly one character; the values of "name" and "descr" are
// unescaped. A "/>" left at the end closes the element. False when the text
// cannot be split: text left without "=" or without both double quotes.
bool splitAttributes(std::string_view text, FirstValueMap& map);

// The attributes of a probe element of a function body, held where they lie
// in its text: the places of the report attribute names only, so that the
// many probes of a report are split without a map. A "name" value that needs
// it is unescaped into a copy of its own when split; a "descr" value is kept
// as written and unescaped only when it is looked up (the reader hands it on
// as written).
class ProbeAttributes {
  public:
    static constexpr std::size_t kSlots = FirstValueMap::kNoSlot;

    void clear() { present_ = 0; }
    bool has(std::size_t slot) const { return (present_ & (1U << slot)) != 0; }
    // Adds the pairs of an attribute text (see splitProbeAttributes);
    // endsWithValue tells whether the text ends with the closing quote of
    // its last value.
    bool splitPairs(std::string_view text, bool& endsWithValue);
    // The same lookup as the attribute map's.
    std::optional<std::string_view> findInSlot(std::size_t slot) const {
        if (slot == FirstValueMap::slotOf("descr")) return findDescription();
        return rawInSlot(slot);
    }
    // The value as written.
    std::optional<std::string_view> rawInSlot(std::size_t slot) const {
        if (!has(slot)) return std::nullopt;
        return std::string_view(data_[slot], size_[slot]);
    }

  private:
    std::optional<std::string_view> findDescription() const;

    void store(std::size_t slot, std::string_view value) {
        data_[slot] = value.data();
        size_[slot] = value.size();
    }

    // Pointers and sizes apart: a value is read soon after it is written,
    // and a view written as two halves and read as one whole would make the
    // processor wait for the stores.
    std::array<const char*, kSlots> data_{};
    std::array<std::size_t, kSlots> size_{};
    std::uint32_t present_ = 0;
    std::string name_;
    mutable std::string description_; // the last description looked up
};

// Splits like splitAttributes() the attribute text of a probe element whose
// names are all report attribute names, with the same first values. False
// when the text holds any other name or cannot be split: the general map
// then takes it.
bool splitProbeAttributes(std::string_view text, ProbeAttributes& attributes);
// The same for the text first + " " + second, without joining them. False
// also when the first text does not end with the closing quote of a value.
bool splitProbeAttributes(std::string_view first, std::string_view second,
                          ProbeAttributes& attributes);

// Ends the run when the attribute text of an element of the named report
// cannot be split: the report is malformed. The diagnostic is composed in
// record.
[[noreturn]] void raiseUnsplittable(std::string_view inputName, DiagnosticRecord& record);

// The value of a "type" attribute that opens an attribute text, as written;
// nothing when the text does not begin with one. Being the first, it is the
// value that splitting the text keeps.
inline std::optional<std::string_view> leadingType(std::string_view text) {
    constexpr std::string_view kOpen = "type=\"";
    if (!text.starts_with(kOpen)) return std::nullopt;
    const std::size_t close = text.find('"', kOpen.size());
    if (close == std::string_view::npos) return std::nullopt;
    return text.substr(kOpen.size(), close - kOpen.size());
}

// The attribute text of a line whose element is closed by ">" alone: its last
// ">" becomes " />", so that it splits like a self-closing element.
void closeAttributeText(std::string_view text, std::string& out);

} // namespace kiv
