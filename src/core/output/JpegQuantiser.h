#pragma once

// The quantiser of the quality search and its bit helpers, kept apart from the counting and
// writing that use them. Inline: they run for every block at every quality tried. Internal
// to core/output.

#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace portiqa::jpeg {

constexpr int kBlockArea = 64;

// How many bits the magnitude of `value` takes (0 for 0), JPEG's "size category".
inline int magnitudeBits(int value) {
    const unsigned v = unsigned(value < 0 ? -value : value);
#if defined(__GNUC__)
    return v == 0 ? 0 : 32 - __builtin_clz(v);
#else
    int bits = 0;
    for (unsigned rest = v; rest != 0; rest >>= 1) {
        ++bits;
    }
    return bits;
#endif
}

// libjpeg divides the DCT output by 8 x the table step, rounding half away from zero. It does
// so with a reciprocal multiply (Alverson's method) in 16-bit lanes: t = |x| + correction,
// then the high halves of t x reciprocal and of that x scale. That equals the plain division
// for every DCT output there is (|x| <= 16384); doing the same here keeps the result identical
// and lets eight coefficients go at once.
struct Divisors {
    alignas(16) std::uint16_t reciprocal[kBlockArea];
    alignas(16) std::uint16_t correction[kBlockArea];
    alignas(16) std::uint16_t scale[kBlockArea];

    void set(int i, std::uint32_t divisor) {
        int bits = 0;
        while ((divisor >> (bits + 1)) != 0) {
            ++bits;
        }
        int r = 16 + bits;
        const std::uint32_t one = std::uint32_t(1) << r;
        std::uint32_t fq = one / divisor;
        const std::uint32_t remainder = one % divisor;
        std::uint32_t c = divisor / 2;
        if (remainder == 0) { // a power of two: fq would need 17 bits
            fq >>= 1;
            --r;
        } else if (remainder <= divisor / 2) {
            ++c;
        } else {
            ++fq;
        }
        reciprocal[i] = std::uint16_t(fq);
        correction[i] = std::uint16_t(c);
        scale[i] = std::uint16_t(1u << (32 - r)); // r >= 18 for the DCT's divisors (>= 8)
    }

    void quantize(const std::int16_t* raw, std::int16_t* out) const {
#if defined(__SSE2__)
        for (int i = 0; i < kBlockArea; i += 8) {
            const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(raw + i));
            const __m128i sign = _mm_srai_epi16(x, 15);
            __m128i t = _mm_sub_epi16(_mm_xor_si128(x, sign), sign);
            t = _mm_add_epi16(t, load(correction + i));
            t = _mm_mulhi_epu16(t, load(reciprocal + i));
            t = _mm_mulhi_epu16(t, load(scale + i));
            t = _mm_sub_epi16(_mm_xor_si128(t, sign), sign);
            _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), t);
        }
#else
        for (int i = 0; i < kBlockArea; ++i) {
            const int x = raw[i];
            const std::uint32_t t = std::uint32_t(x < 0 ? -x : x) + correction[i];
            const std::uint32_t high = (t * reciprocal[i]) >> 16;
            const int q = int((high * scale[i]) >> 16);
            out[i] = std::int16_t(x < 0 ? -q : q);
        }
#endif
    }

#if defined(__SSE2__)
    static __m128i load(const std::uint16_t* p) {
        return _mm_load_si128(reinterpret_cast<const __m128i*>(p));
    }
#endif
};

// Bit i set when zigzag coefficient i is not zero.
inline std::uint64_t nonZeroMask(const std::int16_t* q) {
#if defined(__SSE2__)
    const __m128i zero = _mm_setzero_si128();
    std::uint64_t zeros = 0;
    for (int i = 0; i < kBlockArea; i += 16) {
        const __m128i a =
            _mm_cmpeq_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(q + i)), zero);
        const __m128i b =
            _mm_cmpeq_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(q + i + 8)), zero);
        zeros |= std::uint64_t(std::uint32_t(_mm_movemask_epi8(_mm_packs_epi16(a, b)))) << i;
    }
    return ~zeros;
#else
    std::uint64_t mask = 0;
    for (int i = 0; i < kBlockArea; ++i) {
        mask |= std::uint64_t(q[i] != 0) << i;
    }
    return mask;
#endif
}

inline int lowestBit(std::uint64_t mask) {
#if defined(__GNUC__)
    return __builtin_ctzll(mask);
#else
    int bit = 0;
    while (!(mask & 1)) {
        mask >>= 1;
        ++bit;
    }
    return bit;
#endif
}

} // namespace portiqa::jpeg
