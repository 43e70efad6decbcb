#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

namespace kiv {

// A list of distinct strings in order of first appearance. Lookups are by
// hash, so appending stays cheap however long the list grows.
class DistinctList {
  public:
    // Appends text unless an equal string is already listed; true when appended.
    bool add(std::string_view text) {
        if (seen_.count(std::string(text)) != 0) return false;
        items_.emplace_back(text);
        seen_.emplace(text);
        return true;
    }
    bool contains(std::string_view text) const { return seen_.count(std::string(text)) != 0; }

    const std::vector<std::string>& items() const { return items_; }
    std::size_t size() const { return items_.size(); }
    bool empty() const { return items_.empty(); }
    const std::string& operator[](std::size_t i) const { return items_[i]; }
    auto begin() const { return items_.begin(); }
    auto end() const { return items_.end(); }

  private:
    std::vector<std::string> items_;
    std::unordered_set<std::string> seen_;
};

} // namespace kiv
