#pragma once

#include <bit>
#include <cstdint>
#include <cstring>

namespace kiv {

// Searches of attribute values and short lines, eight bytes at a time,
// without a call and without a branch for every byte: most values are
// numbers of a few digits or short texts.
namespace quote_search {

inline constexpr std::uint64_t kOnes = 0x0101010101010101;
inline constexpr std::uint64_t kHighBits = 0x8080808080808080;

// The high bit of the lowest byte of word that equals the byte repeated in
// pattern is the lowest marked bit (a borrow marks only bytes above it).
inline std::uint64_t marks(std::uint64_t word, std::uint64_t pattern) {
    const std::uint64_t x = word ^ pattern;
    return (x - kOnes) & ~x & kHighBits;
}

} // namespace quote_search

// The first byte c in [p, end), or end.
template <char c>
[[gnu::always_inline]] inline const char* findByte(const char* p, const char* end) {
    if constexpr (std::endian::native == std::endian::little) {
        constexpr std::uint64_t kPattern = quote_search::kOnes * static_cast<unsigned char>(c);
        while (end - p >= 8) {
            std::uint64_t word;
            std::memcpy(&word, p, sizeof word);
            const std::uint64_t found = quote_search::marks(word, kPattern);
            if (found != 0) return p + (std::countr_zero(found) >> 3);
            p += sizeof word;
        }
    }
    while (p != end && *p != c)
        ++p;
    return p;
}

// The first double quote in [p, end), or end.
[[gnu::always_inline]] inline const char* findQuote(const char* p, const char* end) {
    return findByte<'"'>(p, end);
}

// The same, telling whether an ampersand (which begins an entity) comes
// before the quote.
[[gnu::always_inline]] inline const char* findQuoteNotingEntity(const char* p, const char* end,
                                                                bool& entity) {
    bool found = false;
    if constexpr (std::endian::native == std::endian::little) {
        constexpr std::uint64_t kQuotes = 0x2222222222222222;
        constexpr std::uint64_t kAmpersands = 0x2626262626262626;
        while (end - p >= 8) {
            std::uint64_t word;
            std::memcpy(&word, p, sizeof word);
            const std::uint64_t quote = quote_search::marks(word, kQuotes);
            const std::uint64_t ampersand = quote_search::marks(word, kAmpersands);
            if (quote != 0) {
                // Ampersands below the quote only: the bits under its mark.
                const std::uint64_t below = (quote & (0 - quote)) - 1;
                entity = found || (ampersand & below) != 0;
                return p + (std::countr_zero(quote) >> 3);
            }
            found = found || ampersand != 0;
            p += sizeof word;
        }
    }
    while (p != end && *p != '"') {
        found = found || *p == '&';
        ++p;
    }
    entity = found;
    return p;
}

} // namespace kiv
