#include "model/condition_texts.hpp"

#include <limits>
#include <new>
#include <stdexcept>

namespace kiv {

ConditionTexts& ConditionTexts::operator=(const ConditionTexts& other) {
    if (this == &other) return *this;
    clear();
    if (!other.empty()) {
        reallocate(other.head().used);
        std::memcpy(bytes(), other.bytes(), other.head().used);
        head().count = other.head().count;
        head().used = other.head().used;
    }
    return *this;
}

void ConditionTexts::push_back(std::string_view text) {
    constexpr std::size_t kLimit = std::numeric_limits<std::uint32_t>::max();
    const std::size_t used = block_ ? head().used : 0;
    if (text.size() > kLimit - sizeof(std::uint32_t) - used)
        throw std::length_error("condition texts");
    const std::size_t needed = used + sizeof(std::uint32_t) + text.size();
    if (!block_ || needed > head().capacity)
        reallocate(std::min(kLimit, std::max(needed, used + used / 2)));
    const auto length = static_cast<std::uint32_t>(text.size());
    char* at = bytes() + used;
    std::memcpy(at, &length, sizeof length);
    if (!text.empty()) std::memcpy(at + sizeof length, text.data(), text.size());
    head().used = static_cast<std::uint32_t>(needed);
    ++head().count;
}

void ConditionTexts::shrink() {
    if (block_ && head().capacity > head().used) reallocate(head().used);
}

void ConditionTexts::reallocate(std::size_t capacity) {
    auto block = std::make_unique_for_overwrite<std::byte[]>(sizeof(Head) + capacity);
    Head* fresh = new (block.get()) Head{0, 0, static_cast<std::uint32_t>(capacity)};
    if (block_) {
        fresh->count = head().count;
        fresh->used = head().used;
        std::memcpy(block.get() + sizeof(Head), bytes(), head().used);
    }
    block_ = std::move(block);
}

} // namespace kiv
