#include "reader/first_value_map.hpp"

#include <bit>

namespace kiv {

bool FirstValueMap::insertOther(std::string_view key, std::string_view value) {
    for (std::size_t i = 0; i < used_; ++i)
        if (entries_[i].key == key) return false;
    if (used_ < kFlatLimit) {
        if (used_ == entries_.size()) entries_.emplace_back();
        Entry& entry = entries_[used_++];
        entry.key.assign(key);
        entry.value.assign(value);
        return true;
    }
    return overflow_.emplace(std::string(key), std::string(value)).second;
}

const std::string* FirstValueMap::findOther(std::string_view key) const {
    for (std::size_t i = 0; i < used_; ++i)
        if (entries_[i].key == key) return &entries_[i].value;
    if (overflow_.empty()) return nullptr;
    auto it = overflow_.find(key);
    return it == overflow_.end() ? nullptr : &it->second;
}

void FirstValueMap::clear() {
    knownUsed_ = 0;
    used_ = 0;
    overflow_.clear();
}

std::size_t FirstValueMap::size() const {
    return static_cast<std::size_t>(std::popcount(knownUsed_)) + used_ + overflow_.size();
}

} // namespace kiv
