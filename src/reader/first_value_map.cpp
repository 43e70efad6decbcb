#include "reader/first_value_map.hpp"

#include <bit>

#include "reader/unescape.hpp"

namespace kiv {

bool FirstValueMap::insertUnescaped(std::string_view key, std::string_view value) {
    return store(key, [value](std::string& out) { unescapeAppend(value, out); });
}

std::optional<std::string_view> FirstValueMap::findOther(std::string_view key) const {
    for (std::size_t i = 0; i < used_; ++i)
        if (entries_[i].key == key) return valueOf(entries_[i].value);
    if (overflow_.empty()) return std::nullopt;
    auto it = overflow_.find(key);
    if (it == overflow_.end()) return std::nullopt;
    return valueOf(it->second);
}

void FirstValueMap::storeOther(std::string_view key, Span value) {
    if (used_ < kFlatLimit) {
        if (used_ == entries_.size()) entries_.emplace_back();
        Entry& entry = entries_[used_++];
        entry.key.assign(key);
        entry.value = value;
        return;
    }
    overflow_.emplace(std::string(key), value);
}

void FirstValueMap::clear() {
    values_.clear();
    knownUsed_ = 0;
    used_ = 0;
    overflow_.clear();
}

std::size_t FirstValueMap::size() const {
    return static_cast<std::size_t>(std::popcount(knownUsed_)) + used_ + overflow_.size();
}

} // namespace kiv
