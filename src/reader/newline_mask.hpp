#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace kiv {

// Where the line feeds are among 64 bytes: bit i is set when bytes[i] is one.
// The reader finds the end of each line by taking the lowest bit, so that a
// line costs a few instructions instead of a search of its own.

// Eight bytes at a time, on any processor.
inline std::uint64_t newlineMaskPortable(const char* bytes) {
    constexpr std::uint64_t kLow7 = 0x7f7f7f7f7f7f7f7fULL;
    constexpr std::uint64_t kFeeds = 0x0a0a0a0a0a0a0a0aULL;
    constexpr std::uint64_t kGather = 0x0102040810204080ULL; // bit 8b to bit 56+b
    std::uint64_t mask = 0;
    for (int part = 0; part < 8; ++part) {
        std::uint64_t word;
        std::memcpy(&word, bytes + 8 * part, sizeof word);
        if constexpr (std::endian::native == std::endian::big) word = __builtin_bswap64(word);
        word ^= kFeeds; // a line feed becomes a zero byte
        // The high bit of every zero byte, exactly: no carry crosses a byte.
        const std::uint64_t zero = ~(((word & kLow7) + kLow7) | word | kLow7);
        // Bit 8b+7 of zero to bit b of the top byte.
        const std::uint64_t bits = ((zero >> 7) * kGather) >> 56;
        mask |= bits << (8 * part);
    }
    return mask;
}

inline std::uint64_t newlineMask64(const char* bytes) {
#if defined(__SSE2__)
    const __m128i feed = _mm_set1_epi8('\n');
    std::uint64_t mask = 0;
    for (int part = 0; part < 4; ++part) {
        const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + 16 * part));
        const auto bits =
            static_cast<std::uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(chunk, feed)));
        mask |= std::uint64_t{bits} << (16 * part);
    }
    return mask;
#else
    return newlineMaskPortable(bytes);
#endif
}

// The same for the first count (below 64) bytes.
inline std::uint64_t newlineMaskShort(const char* bytes, std::size_t count) {
    std::uint64_t mask = 0;
    for (std::size_t i = 0; i < count; ++i)
        if (bytes[i] == '\n') mask |= std::uint64_t{1} << i;
    return mask;
}

} // namespace kiv
