#pragma once
// Writing a run of pixels in one row, the unit of all drawing on the canvas.
// Sixteen bytes at a time where the processor has SSE2: a plain loop is not
// vectorised at the optimisation level the program is built with, and costs
// several times as much on a full canvas.

#include <cstddef>
#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#endif

namespace kalidor {

inline void fillRun(std::uint32_t* p, std::ptrdiff_t n, std::uint32_t value)
{
#if defined(__SSE2__)
    const __m128i four = _mm_set1_epi32(static_cast<int>(value));
    for (; n >= 8; n -= 8, p += 8) {
        _mm_storeu_si128(reinterpret_cast<__m128i*>(p), four);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(p + 4), four);
    }
#endif
    for (; n > 0; --n)
        *p++ = value;
}

// Whether every pixel of the run is `value`: a tile of one colour is kept as
// that colour, and the history asks this of every tile a step first touches.
inline bool runIsAll(const std::uint32_t* p, std::ptrdiff_t n, std::uint32_t value)
{
#if defined(__SSE2__)
    const __m128i four = _mm_set1_epi32(static_cast<int>(value));
    __m128i differs = _mm_setzero_si128();
    for (; n >= 8; n -= 8, p += 8) {
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 4));
        differs = _mm_or_si128(differs, _mm_or_si128(_mm_xor_si128(a, four), _mm_xor_si128(b, four)));
    }
    if (_mm_movemask_epi8(_mm_cmpeq_epi32(differs, _mm_setzero_si128())) != 0xFFFF)
        return false;
#endif
    for (; n > 0; --n)
        if (*p++ != value)
            return false;
    return true;
}

// Every pixel of the run to its complement, leaving the unused top byte alone.
inline void invertRun(std::uint32_t* p, std::ptrdiff_t n)
{
    constexpr std::uint32_t kColourBits = 0x00FFFFFFu;
#if defined(__SSE2__)
    const __m128i mask = _mm_set1_epi32(static_cast<int>(kColourBits));
    for (; n >= 4; n -= 4, p += 4) {
        auto* q = reinterpret_cast<__m128i*>(p);
        _mm_storeu_si128(q, _mm_xor_si128(_mm_loadu_si128(q), mask));
    }
#endif
    for (; n > 0; --n, ++p)
        *p ^= kColourBits;
}

// The run's pixels where `mask` is all ones take `value`; the others stay.
inline void maskedFillRunSse2(std::uint32_t* p, const std::uint32_t* mask, std::ptrdiff_t n, std::uint32_t value)
{
#if defined(__SSE2__)
    const __m128i four = _mm_set1_epi32(static_cast<int>(value));
    for (; n >= 4; n -= 4, p += 4, mask += 4) {
        auto* q = reinterpret_cast<__m128i*>(p);
        const __m128i m = _mm_loadu_si128(reinterpret_cast<const __m128i*>(mask));
        _mm_storeu_si128(q, _mm_or_si128(_mm_andnot_si128(m, _mm_loadu_si128(q)), _mm_and_si128(m, four)));
    }
#endif
    for (; n > 0; --n, ++p, ++mask)
        *p = (*p & ~*mask) | (value & *mask);
}

#if defined(__x86_64__) && defined(__GNUC__)
#define KALIDOR_WIDE_RUNS 1
// Eight pixels at a time where the processor has AVX2, chosen as the program
// runs: the masks of the tiniest cells cover whole rows of the canvas.
__attribute__((target("avx2"))) inline void maskedFillRunAvx2(std::uint32_t* p, const std::uint32_t* mask,
                                                               std::ptrdiff_t n, std::uint32_t value)
{
    const __m256i eight = _mm256_set1_epi32(static_cast<int>(value));
    for (; n >= 8; n -= 8, p += 8, mask += 8) {
        auto* q = reinterpret_cast<__m256i*>(p);
        const __m256i m = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(mask));
        _mm256_storeu_si256(q, _mm256_blendv_epi8(_mm256_loadu_si256(q), eight, m));
    }
    maskedFillRunSse2(p, mask, n, value);
}

// Sixteen at a time with AVX-512, whose masked store leaves the other pixels
// without reading them (still about half as fast per pixel as a plain fill).
__attribute__((target("avx512f"))) inline void maskedFillRunAvx512(std::uint32_t* p, const std::uint32_t* mask,
                                                                    std::ptrdiff_t n, std::uint32_t value)
{
    const __m512i sixteen = _mm512_set1_epi32(static_cast<int>(value));
    for (; n >= 16; n -= 16, p += 16, mask += 16) {
        const __m512i m = _mm512_loadu_si512(mask);
        _mm512_mask_storeu_epi32(p, _mm512_test_epi32_mask(m, m), sixteen);
    }
    maskedFillRunSse2(p, mask, n, value);
}

inline const bool kHasAvx2 = __builtin_cpu_supports("avx2");
inline const bool kHasAvx512 = __builtin_cpu_supports("avx512f");
#endif

inline void maskedFillRun(std::uint32_t* p, const std::uint32_t* mask, std::ptrdiff_t n, std::uint32_t value)
{
#if defined(KALIDOR_WIDE_RUNS)
    if (kHasAvx512) {
        maskedFillRunAvx512(p, mask, n, value);
        return;
    }
    if (kHasAvx2) {
        maskedFillRunAvx2(p, mask, n, value);
        return;
    }
#endif
    maskedFillRunSse2(p, mask, n, value);
}

}  // namespace kalidor
