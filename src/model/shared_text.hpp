#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "model/large_memory.hpp"

namespace kiv {

// An immutable text that copies share: one machine word pointing to a
// reference-counted block holding the bytes. Probe descriptions and contexts
// repeat a great deal ("break", "}", the decision of every condition), so the
// model keeps each distinct text once (see TextPool) and every probe refers to
// it. A text handed out by a pool is not counted at all: it lives as long as
// the pool, and copying or dropping it never touches its block (a model of
// millions of probes is taken apart without reading their texts). Not for
// sharing between threads.
class SharedText {
  public:
    SharedText() = default;
    SharedText(std::string_view text) : word_(make(text)) {}
    SharedText(const char* text) : SharedText(std::string_view(text)) {}
    SharedText(const std::string& text) : SharedText(std::string_view(text)) {}
    SharedText(const SharedText& other) noexcept : word_(other.word_) { retain(); }
    SharedText(SharedText&& other) noexcept : word_(other.word_) { other.word_ = 0; }
    SharedText& operator=(const SharedText& other) noexcept;
    SharedText& operator=(SharedText&& other) noexcept;
    ~SharedText() { release(); }

    std::string_view view() const {
        const Block* b = block();
        return b == nullptr ? std::string_view{} : std::string_view(b->bytes(), b->size);
    }
    operator std::string_view() const { return view(); }
    const char* data() const { return view().data(); }
    std::size_t size() const { return view().size(); }
    bool empty() const { return size() == 0; }
    std::size_t find(std::string_view part, std::size_t from = 0) const {
        return view().find(part, from);
    }
    std::size_t find(char c, std::size_t from = 0) const { return view().find(c, from); }
    // True when both refer to the same block (equal texts then, but equal
    // texts need not share a block).
    bool sameBlock(const SharedText& other) const { return block() == other.block(); }

    friend bool operator==(const SharedText& a, const SharedText& b) {
        return a.block() == b.block() || a.view() == b.view();
    }
    friend bool operator==(const SharedText& a, std::string_view b) { return a.view() == b; }
    friend bool operator==(const SharedText& a, const char* b) {
        return a.view() == std::string_view(b);
    }
    friend bool operator==(const SharedText& a, const std::string& b) {
        return a.view() == std::string_view(b);
    }
    friend std::ostream& operator<<(std::ostream& out, const SharedText& text) {
        return out << text.view();
    }
    friend std::string operator+(const std::string& a, const SharedText& b) {
        std::string text = a;
        text.append(b.view());
        return text;
    }
    friend std::string operator+(const SharedText& a, const std::string& b) {
        std::string text(a.view());
        text += b;
        return text;
    }

  private:
    friend class TextPool;

    struct Block {
        std::uint32_t references;
        std::uint32_t size;
        char* bytes() { return reinterpret_cast<char*>(this + 1); }
        const char* bytes() const { return reinterpret_cast<const char*>(this + 1); }
    };
    static_assert(alignof(Block) >= 2, "block addresses must be even");
    static constexpr std::uintptr_t kPooled = 1; // the word's mark of an uncounted text

    // A counted text of its own block.
    static std::uintptr_t make(std::string_view text);
    Block* block() const { return reinterpret_cast<Block*>(word_ & ~kPooled); }
    bool counted() const { return word_ != 0 && (word_ & kPooled) == 0; }
    void retain() const {
        if (counted()) ++block()->references;
    }
    void release();

    std::uintptr_t word_ = 0; // 0: the empty text; else a Block address, marked when uncounted
};

// Keeps one SharedText per distinct text: intern() gives the text already
// kept, or keeps a new one; the texts it gives are valid as long as the pool
// lives. An open-addressing table of the texts: a text costs one or two
// pointer slots here besides its block.
class TextPool {
  public:
    TextPool() = default;
    TextPool(const TextPool&) = delete;
    TextPool& operator=(const TextPool&) = delete;

    SharedText intern(std::string_view text);
    std::size_t size() const { return used_; }
    // Gives back the table that finds the texts, once no more are expected
    // (a model read in full): the texts stay, and a later intern() builds
    // the table again.
    void forgetIndex() noexcept;

  private:
    using Block = SharedText::Block;
    struct Chunk {
        LargeMemory memory;
        std::size_t size = 0;
        std::size_t used = 0;
    };

    Block** slots() const { return reinterpret_cast<Block**>(table_.get()); }
    // A table of room for more texts, of every text kept.
    void grow();
    // The bytes a block of a text of `size` bytes takes in a chunk.
    static std::size_t blockBytes(std::size_t size);
    // A new text in the pool's own memory: it lives as long as the pool and
    // costs no allocation of its own.
    Block* keep(std::string_view text);
    // An uncounted text of a block of the pool.
    static SharedText pooled(Block* block) {
        SharedText text;
        text.word_ = reinterpret_cast<std::uintptr_t>(block) | SharedText::kPooled;
        return text;
    }

    LargeMemory table_;         // slotCount_ blocks; null: a free slot
    std::size_t slotCount_ = 0; // a power of two
    std::size_t used_ = 0;
    // The texts' blocks, cut from large chunks one after the other.
    std::vector<Chunk> chunks_;
};

inline SharedText& SharedText::operator=(const SharedText& other) noexcept {
    other.retain();
    release();
    word_ = other.word_;
    return *this;
}

inline SharedText& SharedText::operator=(SharedText&& other) noexcept {
    if (this != &other) {
        release();
        word_ = other.word_;
        other.word_ = 0;
    }
    return *this;
}

} // namespace kiv
