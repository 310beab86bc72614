#pragma once
#include <bit>
#include <cstddef>
#include <cstdint>
#include <string_view>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace halvern {

// The number of bits set in bits. Without the POPCNT instruction in the target (a build for every
// x86-64 processor has none), std::popcount is a call into the compiler's library that costs about
// twice these few shifts and adds, done in place.
inline std::size_t BitsSet(std::uint64_t bits) {
#if defined(__POPCNT__) || !defined(__x86_64__)
    return static_cast<std::size_t>(std::popcount(bits));
#else
    bits -= (bits >> 1) & 0x5555555555555555U;
    bits = (bits & 0x3333333333333333U) + ((bits >> 2) & 0x3333333333333333U);
    bits = (bits + (bits >> 4)) & 0x0F0F0F0F0F0F0F0FU;
    return static_cast<std::size_t>((bits * 0x0101010101010101U) >> 56);
#endif
}

#if defined(__SSE2__)
// Bit i set: the byte at from + i of text is byte; the 64 bytes from from on, as far as text goes.
inline std::uint64_t BytesAlike(std::string_view text, std::size_t from, char byte) {
    const char* const bytes = text.data() + from;
    if (text.size() - from >= 64) {
        const __m128i wanted = _mm_set1_epi8(byte);
        std::uint64_t mask = 0;
        for (int part = 0; part < 4; ++part) {
            const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + 16 * part));
            const auto found = static_cast<std::uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(block, wanted)));
            mask |= std::uint64_t{found} << (16 * part);
        }
        return mask;
    }
    std::uint64_t mask = 0;
    for (std::size_t i = 0; i < text.size() - from; ++i) {
        if (bytes[i] == byte) mask |= std::uint64_t{1} << i;
    }
    return mask;
}
#endif

// Walks the "@" of a text from left to right. Both passes of a run go from one "@" to the next,
// and in a family tree an "@" comes every few dozen bytes, so the cost of each search counts more
// than its speed over long stretches. With SSE2 (every x86-64 processor) the "@" of 64 bytes at a
// time are found at once and handed out one by one; elsewhere each comes from a search of its own.
class AtSignScanner {
public:
    explicit AtSignScanner(std::string_view text) : text_(text) {
#if defined(__SSE2__)
        bits_ = Mask(0);
#endif
    }

    // The position of the next "@", or npos when there is none.
    std::size_t Next() {
#if defined(__SSE2__)
        while (bits_ == 0) {
            base_ += 64;
            if (base_ >= text_.size()) return std::string_view::npos;
            bits_ = Mask(base_);
        }
        const std::size_t at = base_ + static_cast<std::size_t>(std::countr_zero(bits_));
        bits_ &= bits_ - 1;
        return at;
#else
        const std::size_t at = text_.find('@', from_);
        // At the end it stays at the end (npos + 1 would start over from the beginning).
        from_ = at == std::string_view::npos ? text_.size() : at + 1;
        return at;
#endif
    }

private:
#if defined(__SSE2__)
    std::uint64_t Mask(std::size_t from) const { return BytesAlike(text_, from, '@'); }

    std::size_t base_ = 0;
    std::uint64_t bits_ = 0;
#else
    std::size_t from_ = 0;
#endif
    std::string_view text_;
};

}  // namespace halvern
