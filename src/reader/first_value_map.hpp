#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <unordered_map>
#include <vector>

namespace kiv {

// A map from text to text in which the first value stored under a key stays:
// storing under a key that is present changes nothing. The reader keeps one
// line's values in it until a reading step takes them, so it is small nearly
// always. The values are kept one after the other in one buffer, which keeps
// its storage when the map is emptied; keys go to a short list, and a map
// that grows large (a report with many unknown lines) moves on to a hash
// table so that filling it stays linear. The attribute names of the reports
// ("type", "line", "descr", ...) have places of their own, found without
// comparing keys: every probe element stores and looks up about a dozen of
// them.
class FirstValueMap {
  public:
    // Stores value under key unless key is present; true when stored.
    bool insert(std::string_view key, std::string_view value) {
        return store(key, [value](std::string& out) { out.append(value); });
    }
    // The same with the value unescaped (see unescapeInto).
    bool insertUnescaped(std::string_view key, std::string_view value);
    // A line's values without copying each: keep() copies the line's text
    // once and gives where the copy starts; insertKept() stores a value that
    // lies in that copy, `size` bytes from `offset` on.
    std::size_t keep(std::string_view text) {
        const std::size_t offset = values_.size();
        values_.append(text);
        return offset;
    }
    bool insertKept(std::string_view key, std::size_t offset, std::size_t size) {
        return store(key, Span{offset, size});
    }
    // The same for the key of a place (see slotOf).
    bool insertKeptInSlot(std::size_t slot, std::size_t offset, std::size_t size) {
        const std::uint32_t bit = std::uint32_t{1} << slot;
        if ((knownUsed_ & bit) != 0) return false;
        known_[slot] = Span{offset, size};
        knownUsed_ |= bit;
        return true;
    }
    // The value stored under exactly key, if any. The view is valid until
    // the map is changed.
    std::optional<std::string_view> find(std::string_view key) const {
        const std::size_t slot = knownSlot(key);
        if (slot == kKnownKeys) return findOther(key);
        if ((knownUsed_ & (std::uint32_t{1} << slot)) == 0) return std::nullopt;
        return valueOf(known_[slot]);
    }
    bool contains(std::string_view key) const { return find(key).has_value(); }

    // The place of a report attribute name (see slotOf), and the value stored
    // there: a lookup of a constant key without any comparison.
    static constexpr std::size_t kNoSlot = 10;
    static constexpr std::size_t slotOf(std::string_view key) { return knownSlot(key); }
    std::optional<std::string_view> findInSlot(std::size_t slot) const {
        if ((knownUsed_ & (std::uint32_t{1} << slot)) == 0) return std::nullopt;
        return valueOf(known_[slot]);
    }
    void clear();
    std::size_t size() const;
    bool empty() const { return knownUsed_ == 0 && used_ == 0 && overflow_.empty(); }

  private:
    static constexpr std::size_t kFlatLimit = 32;
    static constexpr std::size_t kKnownKeys = kNoSlot;

    // Where a value lies in values_.
    struct Span {
        std::size_t offset = 0;
        std::size_t size = 0;
    };

    // The place of a report attribute name, or kKnownKeys for any other key.
    // Inline, so that a constant key costs nothing.
    static constexpr std::size_t knownSlot(std::string_view key) {
        switch (key.size()) {
        case 4:
            if (key == "name") return 0;
            if (key == "type") return 1;
            if (key == "line") return 2;
            break;
        case 5:
            if (key == "descr") return 3;
            break;
        case 6:
            if (key == "count1") return 4;
            if (key == "count2") return 5;
            break;
        case 7:
            if (key == "nesting") return 6;
            if (key == "eval_no") return 7;
            break;
        case 8:
            if (key == "sc_count") return 8;
            break;
        case 10:
            if (key == "subcond_no") return 9;
            break;
        default:
            break;
        }
        return kKnownKeys;
    }

    // Stores under key, unless it is present, what write appends to the
    // value buffer, or the span given.
    template <typename Write> bool store(std::string_view key, Write&& write) {
        const std::size_t slot = knownSlot(key);
        if (slot != kKnownKeys) {
            const std::uint32_t bit = std::uint32_t{1} << slot;
            if ((knownUsed_ & bit) != 0) return false;
            known_[slot] = append(write);
            knownUsed_ |= bit;
            return true;
        }
        if (findOther(key)) return false;
        storeOther(key, append(write));
        return true;
    }
    template <typename Write> Span append(Write& write) {
        if constexpr (std::is_same_v<std::decay_t<Write>, Span>) {
            return write;
        } else {
            Span span{values_.size(), 0};
            write(values_);
            span.size = values_.size() - span.offset;
            return span;
        }
    }
    std::string_view valueOf(const Span& span) const {
        return std::string_view(values_).substr(span.offset, span.size);
    }
    std::optional<std::string_view> findOther(std::string_view key) const;
    void storeOther(std::string_view key, Span value);

    struct Entry {
        std::string key;
        Span value;
    };
    struct Hash {
        using is_transparent = void;
        std::size_t operator()(std::string_view text) const {
            return std::hash<std::string_view>{}(text);
        }
    };

    std::string values_;                 // every value, one after the other
    std::array<Span, kKnownKeys> known_; // values of the attribute names
    std::uint32_t knownUsed_ = 0;        // bit i: known_[i] holds a value
    std::vector<Entry> entries_;         // the first used_ hold values; the rest are spare
    std::size_t used_ = 0;
    std::unordered_map<std::string, Span, Hash, std::equal_to<>> overflow_;
};

} // namespace kiv
