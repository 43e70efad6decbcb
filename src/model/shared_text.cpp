#include "model/shared_text.hpp"

#include <algorithm>
#include <cstring>
#include <functional>
#include <new>

namespace kiv {

std::uintptr_t SharedText::make(std::string_view text) {
    if (text.empty()) return 0;
    if (text.size() > UINT32_MAX) throw std::bad_alloc();
    void* memory = ::operator new(sizeof(Block) + text.size());
    auto* block = new (memory) Block{1, static_cast<std::uint32_t>(text.size())};
    std::memcpy(block->bytes(), text.data(), text.size());
    return reinterpret_cast<std::uintptr_t>(block);
}

void SharedText::release() {
    if (counted() && --block()->references == 0) {
        Block* b = block();
        b->~Block();
        ::operator delete(b);
    }
    word_ = 0;
}

SharedText TextPool::intern(std::string_view text) {
    if (text.empty()) return {};
    // Kept at most half full.
    if (2 * (used_ + 1) > slotCount_) grow();
    const std::size_t mask = slotCount_ - 1;
    Block** const table = slots();
    for (std::size_t slot = std::hash<std::string_view>{}(text)&mask;; slot = (slot + 1) & mask) {
        Block* kept = table[slot];
        if (kept == nullptr) {
            kept = keep(text);
            table[slot] = kept;
            ++used_;
            return pooled(kept);
        }
        if (std::string_view(kept->bytes(), kept->size) == text) return pooled(kept);
    }
}

TextPool::Block* TextPool::keep(std::string_view text) {
    constexpr std::size_t kAlign = alignof(Block);
    if (text.size() > UINT32_MAX) throw std::bad_alloc();
    const std::size_t size = (sizeof(Block) + text.size() + kAlign - 1) / kAlign * kAlign;
    if (chunkSize_ - chunkUsed_ < size) {
        // A text larger than a chunk gets a chunk of its own.
        chunkSize_ = std::max(kHugePageBytes, size);
        chunks_.push_back(allocateLarge(chunkSize_));
        chunkUsed_ = 0;
    }
    std::byte* memory = chunks_.back().get() + chunkUsed_;
    chunkUsed_ += size;
    auto* block = new (memory) Block{1, static_cast<std::uint32_t>(text.size())};
    std::memcpy(block->bytes(), text.data(), text.size());
    return block;
}

void TextPool::grow() {
    const std::size_t oldCount = slotCount_;
    const std::size_t count = oldCount == 0 ? 64 : 2 * oldCount;
    LargeMemory old = std::move(table_);
    Block** const oldSlots = reinterpret_cast<Block**>(old.get());
    table_ = allocateLarge(count * sizeof(Block*));
    slotCount_ = count;
    Block** const table = slots();
    std::fill_n(table, count, nullptr);
    const std::size_t mask = count - 1;
    for (std::size_t i = 0; i < oldCount; ++i) {
        Block* const block = oldSlots[i];
        if (block == nullptr) continue;
        std::size_t slot =
            std::hash<std::string_view>{}(std::string_view(block->bytes(), block->size)) & mask;
        while (table[slot] != nullptr)
            slot = (slot + 1) & mask;
        table[slot] = block;
    }
}

} // namespace kiv
