#include "reader/first_value_map.hpp"

namespace kiv {

bool FirstValueMap::insert(std::string_view key, std::string_view value) {
    if (contains(key)) return false;
    if (used_ < kFlatLimit) {
        if (used_ == entries_.size()) entries_.emplace_back();
        Entry& entry = entries_[used_++];
        entry.key.assign(key);
        entry.value.assign(value);
        return true;
    }
    overflow_.emplace(std::string(key), std::string(value));
    return true;
}

const std::string* FirstValueMap::find(std::string_view key) const {
    for (std::size_t i = 0; i < used_; ++i)
        if (entries_[i].key == key) return &entries_[i].value;
    if (overflow_.empty()) return nullptr;
    auto it = overflow_.find(key);
    return it == overflow_.end() ? nullptr : &it->second;
}

void FirstValueMap::clear() {
    used_ = 0;
    overflow_.clear();
}

} // namespace kiv
