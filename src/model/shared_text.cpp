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

std::size_t TextPool::blockBytes(std::size_t size) {
    constexpr std::size_t kAlign = alignof(Block);
    return (sizeof(Block) + size + kAlign - 1) / kAlign * kAlign;
}

TextPool::Block* TextPool::keep(std::string_view text) {
    if (text.size() > UINT32_MAX) throw std::bad_alloc();
    const std::size_t size = blockBytes(text.size());
    if (chunks_.empty() || chunks_.back().size - chunks_.back().used < size) {
        // A text larger than a chunk gets a chunk of its own.
        const std::size_t chunkSize = std::max(kHugePageBytes, size);
        chunks_.push_back(Chunk{allocateLarge(chunkSize), chunkSize, 0});
    }
    Chunk& chunk = chunks_.back();
    std::byte* memory = chunk.memory.get() + chunk.used;
    chunk.used += size;
    auto* block = new (memory) Block{1, static_cast<std::uint32_t>(text.size())};
    std::memcpy(block->bytes(), text.data(), text.size());
    return block;
}

void TextPool::grow() {
    std::size_t count = slotCount_ == 0 ? 64 : 2 * slotCount_;
    while (2 * (used_ + 1) > count)
        count *= 2;
    table_.reset();
    table_ = allocateLarge(count * sizeof(Block*));
    slotCount_ = count;
    Block** const table = slots();
    std::fill_n(table, count, nullptr);
    const std::size_t mask = count - 1;
    // Every text is in the chunks, in the order it was kept.
    for (const Chunk& chunk : chunks_) {
        for (std::size_t at = 0; at < chunk.used;) {
            auto* const block = reinterpret_cast<Block*>(chunk.memory.get() + at);
            at += blockBytes(block->size);
            std::size_t slot =
                std::hash<std::string_view>{}(std::string_view(block->bytes(), block->size)) & mask;
            while (table[slot] != nullptr)
                slot = (slot + 1) & mask;
            table[slot] = block;
        }
    }
}

void TextPool::forgetIndex() noexcept {
    table_.reset();
    slotCount_ = 0;
}

} // namespace kiv
