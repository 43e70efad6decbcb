#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <iterator>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace kiv {

// The condition texts of an mcdc probe, "MC/DC (cond N: ...)", one per
// condition, filled when the model is finished. Only mcdc probes have any, so
// every other probe pays one empty pointer for the list. A filled list is one
// block: a small head, then each text as its length and its bytes, so that
// the many short texts of a large program cost neither a string object nor
// an allocation each.
class ConditionTexts {
  public:
    // Walks the texts of a block in order.
    class const_iterator {
      public:
        using iterator_category = std::forward_iterator_tag;
        using value_type = std::string_view;
        using difference_type = std::ptrdiff_t;
        using pointer = void;
        using reference = std::string_view;

        const_iterator() = default;
        std::string_view operator*() const { return {at_ + sizeof(std::uint32_t), length()}; }
        const_iterator& operator++() {
            at_ += sizeof(std::uint32_t) + length();
            return *this;
        }
        const_iterator operator++(int) {
            const const_iterator was = *this;
            ++*this;
            return was;
        }
        friend bool operator==(const const_iterator& a, const const_iterator& b) {
            return a.at_ == b.at_;
        }

      private:
        friend class ConditionTexts;
        explicit const_iterator(const char* at) : at_(at) {}
        std::size_t length() const {
            std::uint32_t length = 0;
            std::memcpy(&length, at_, sizeof length);
            return length;
        }
        const char* at_ = nullptr;
    };
    using iterator = const_iterator;
    using value_type = std::string_view;

    ConditionTexts() = default;
    ConditionTexts(std::initializer_list<std::string_view> texts) {
        for (std::string_view text : texts)
            push_back(text);
    }
    ConditionTexts(const ConditionTexts& other) { *this = other; }
    ConditionTexts(ConditionTexts&&) noexcept = default;
    ConditionTexts& operator=(const ConditionTexts& other);
    ConditionTexts& operator=(ConditionTexts&&) noexcept = default;
    ~ConditionTexts() = default;

    // Texts longer than 2^32 - 1 bytes cannot occur (a condition text holds
    // a few numbers); std::length_error if one did.
    void push_back(std::string_view text);
    void clear() { block_.reset(); }
    // Gives back the room kept for further texts.
    void shrink();

    const_iterator begin() const { return const_iterator(block_ ? bytes() : nullptr); }
    const_iterator end() const { return const_iterator(block_ ? bytes() + head().used : nullptr); }
    std::size_t size() const { return block_ ? head().count : 0; }
    bool empty() const { return size() == 0; }
    // The i-th text (a walk: for tests and short lists).
    std::string_view operator[](std::size_t i) const {
        return *std::next(begin(), static_cast<std::ptrdiff_t>(i));
    }

    friend bool operator==(const ConditionTexts& a, const ConditionTexts& b) {
        return std::equal(a.begin(), a.end(), b.begin(), b.end());
    }
    friend bool operator==(const ConditionTexts& a, const std::vector<std::string>& b) {
        return std::equal(a.begin(), a.end(), b.begin(), b.end());
    }

  private:
    struct Head {
        std::uint32_t count;
        std::uint32_t used;     // bytes of the texts
        std::uint32_t capacity; // bytes of room for texts
    };
    Head& head() const { return *reinterpret_cast<Head*>(block_.get()); }
    char* bytes() const { return reinterpret_cast<char*>(block_.get() + sizeof(Head)); }
    // Moves the texts to a block with room for capacity bytes.
    void reallocate(std::size_t capacity);

    std::unique_ptr<std::byte[]> block_;
};

} // namespace kiv
