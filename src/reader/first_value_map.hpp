#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace kiv {

// A map from text to text in which the first value stored under a key stays:
// storing under a key that is present changes nothing. The reader keeps one
// line's values in it until a reading step takes them, so it is small nearly
// always; its entries keep their storage when the map is emptied, and a map
// that grows large (a report with many unknown lines) moves on to a hash
// table so that filling it stays linear.
class FirstValueMap {
  public:
    // Stores value under key unless key is present; true when stored.
    bool insert(std::string_view key, std::string_view value);
    // The value stored under exactly key, or null. The pointer is valid until
    // the map is changed.
    const std::string* find(std::string_view key) const;
    bool contains(std::string_view key) const { return find(key) != nullptr; }
    void clear();
    std::size_t size() const { return used_ + overflow_.size(); }
    bool empty() const { return size() == 0; }

  private:
    static constexpr std::size_t kFlatLimit = 32;

    struct Entry {
        std::string key;
        std::string value;
    };
    struct Hash {
        using is_transparent = void;
        std::size_t operator()(std::string_view text) const {
            return std::hash<std::string_view>{}(text);
        }
    };

    std::vector<Entry> entries_; // the first used_ hold values; the rest are spare
    std::size_t used_ = 0;
    std::unordered_map<std::string, std::string, Hash, std::equal_to<>> overflow_;
};

} // namespace kiv
