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
    if (2 * (used_ + 1) > slots_.size()) grow();
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t slot = std::hash<std::string_view>{}(text)&mask;; slot = (slot + 1) & mask) {
        SharedText& kept = slots_[slot];
        if (kept.empty()) {
            kept = keep(text);
            ++used_;
            return kept;
        }
        if (kept.view() == text) return SharedText::uncounted(kept);
    }
}

SharedText TextPool::keep(std::string_view text) {
    constexpr std::size_t kChunk = std::size_t{1} << 20;
    constexpr std::size_t kAlign = alignof(SharedText::Block);
    if (text.size() > UINT32_MAX) throw std::bad_alloc();
    const std::size_t size =
        (sizeof(SharedText::Block) + text.size() + kAlign - 1) / kAlign * kAlign;
    if (chunkSize_ - chunkUsed_ < size) {
        // A text larger than a chunk gets a chunk of its own.
        chunkSize_ = std::max(kChunk, size);
        chunks_.push_back(std::make_unique_for_overwrite<std::byte[]>(chunkSize_));
        chunkUsed_ = 0;
    }
    std::byte* memory = chunks_.back().get() + chunkUsed_;
    chunkUsed_ += size;
    auto* block = new (memory) SharedText::Block{1, static_cast<std::uint32_t>(text.size())};
    std::memcpy(block->bytes(), text.data(), text.size());
    SharedText kept;
    kept.word_ = reinterpret_cast<std::uintptr_t>(block) | SharedText::kPooled;
    return kept;
}

void TextPool::grow() {
    std::vector<SharedText> old(slots_.empty() ? 64 : 2 * slots_.size());
    old.swap(slots_);
    const std::size_t mask = slots_.size() - 1;
    for (SharedText& text : old) {
        if (text.empty()) continue;
        std::size_t slot = std::hash<std::string_view>{}(text.view()) & mask;
        while (!slots_[slot].empty())
            slot = (slot + 1) & mask;
        slots_[slot] = std::move(text);
    }
}

} // namespace kiv
