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

#if defined(__SSE2__)
// Which of the four pixels from p are `value`, a bit each.
inline unsigned equalLanes(const std::uint32_t* p, __m128i four)
{
    const __m128i same = _mm_cmpeq_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p)), four);
    return static_cast<unsigned>(_mm_movemask_ps(_mm_castsi128_ps(same)));
}
#endif

// How many of the n pixels from p on are `value` before the first that is not:
// how far a region of that colour reaches along a row.
inline std::ptrdiff_t countSame(const std::uint32_t* p, std::ptrdiff_t n, std::uint32_t value)
{
    std::ptrdiff_t i = 0;
#if defined(__SSE2__)
    const __m128i four = _mm_set1_epi32(static_cast<int>(value));
    for (; i + 4 <= n; i += 4)
        if (const unsigned other = ~equalLanes(p + i, four) & 0xFu; other != 0)
            return i + __builtin_ctz(other);
#endif
    while (i < n && p[i] == value)
        ++i;
    return i;
}

// Where among the n pixels from p the first of colour `value` is; n where none is.
inline std::ptrdiff_t findColour(const std::uint32_t* p, std::ptrdiff_t n, std::uint32_t value)
{
    std::ptrdiff_t i = 0;
#if defined(__SSE2__)
    const __m128i four = _mm_set1_epi32(static_cast<int>(value));
    for (; i + 4 <= n; i += 4)
        if (const unsigned same = equalLanes(p + i, four); same != 0)
            return i + __builtin_ctz(same);
#endif
    while (i < n && p[i] != value)
        ++i;
    return i;
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

// Masks give a pixel a bit: bit i % 16 of word i / 16 for the run's pixel i.
// Sets the bits of pixels `from` to `to`, both included.
inline void setMaskBits(std::uint16_t* bits, std::ptrdiff_t from, std::ptrdiff_t to)
{
    const std::ptrdiff_t first = from / 16;
    const std::ptrdiff_t last = to / 16;
    const auto low = static_cast<std::uint16_t>(0xFFFFu << (from % 16));
    const auto high = static_cast<std::uint16_t>(0xFFFFu >> (15 - to % 16));
    if (first == last) {
        bits[first] |= low & high;
        return;
    }
    bits[first] |= low;
    for (std::ptrdiff_t w = first + 1; w < last; ++w)
        bits[w] = 0xFFFF;
    bits[last] |= high;
}

inline bool maskBit(const std::uint16_t* bits, std::ptrdiff_t i) { return (bits[i / 16] >> (i % 16) & 1) != 0; }

// The run's pixels whose bit is set take `value`; the others stay.
inline void maskedFillRunSse2(std::uint32_t* p, const std::uint16_t* bits, std::ptrdiff_t n, std::uint32_t value)
{
    std::ptrdiff_t i = 0;
#if defined(__SSE2__)
    const __m128i four = _mm_set1_epi32(static_cast<int>(value));
    const __m128i lanes = _mm_setr_epi32(1, 2, 4, 8);
    for (; i + 4 <= n; i += 4) {
        const int b = bits[i / 16] >> (i % 16) & 0xF;
        auto* q = reinterpret_cast<__m128i*>(p + i);
        const __m128i m = _mm_cmpeq_epi32(_mm_and_si128(_mm_set1_epi32(b), lanes), lanes);
        _mm_storeu_si128(q, _mm_or_si128(_mm_andnot_si128(m, _mm_loadu_si128(q)), _mm_and_si128(m, four)));
    }
#endif
    for (; i < n; ++i)
        if (maskBit(bits, i))
            p[i] = value;
}

#if defined(__x86_64__) && defined(__GNUC__)
#define KALIDOR_WIDE_RUNS 1
// Eight pixels at a time where the processor has AVX2, chosen as the program
// runs: the masks of the tiniest cells cover whole rows of the canvas.
__attribute__((target("avx2"))) inline void maskedFillRunAvx2(std::uint32_t* p, const std::uint16_t* bits,
                                                               std::ptrdiff_t n, std::uint32_t value)
{
    const __m256i eight = _mm256_set1_epi32(static_cast<int>(value));
    const __m256i lanes = _mm256_setr_epi32(1, 2, 4, 8, 16, 32, 64, 128);
    std::ptrdiff_t i = 0;
    for (; i + 8 <= n; i += 8) {
        const int b = bits[i / 16] >> (i % 16) & 0xFF;
        auto* q = reinterpret_cast<__m256i*>(p + i);
        const __m256i m = _mm256_cmpeq_epi32(_mm256_and_si256(_mm256_set1_epi32(b), lanes), lanes);
        _mm256_storeu_si256(q, _mm256_blendv_epi8(_mm256_loadu_si256(q), eight, m));
    }
    for (; i < n; ++i)
        if (maskBit(bits, i))
            p[i] = value;
}

// Sixteen at a time with AVX-512, whose masked store takes a word of the mask
// as it is and leaves the other pixels without reading them: about as fast as
// a plain fill.
__attribute__((target("avx512f"))) inline void maskedFillRunAvx512(std::uint32_t* p, const std::uint16_t* bits,
                                                                    std::ptrdiff_t n, std::uint32_t value)
{
    const __m512i sixteen = _mm512_set1_epi32(static_cast<int>(value));
    for (; n >= 16; n -= 16, p += 16, ++bits)
        _mm512_mask_storeu_epi32(p, *bits, sixteen);
    if (n > 0)  // the lanes past the run are masked off, and never touched
        _mm512_mask_storeu_epi32(p, static_cast<__mmask16>(*bits & ((1u << n) - 1)), sixteen);
}

inline const bool kHasAvx2 = __builtin_cpu_supports("avx2");
inline const bool kHasAvx512 = __builtin_cpu_supports("avx512f");
#endif

inline void maskedFillRun(std::uint32_t* p, const std::uint16_t* bits, std::ptrdiff_t n, std::uint32_t value)
{
#if defined(KALIDOR_WIDE_RUNS)
    if (kHasAvx512) {
        maskedFillRunAvx512(p, bits, n, value);
        return;
    }
    if (kHasAvx2) {
        maskedFillRunAvx2(p, bits, n, value);
        return;
    }
#endif
    maskedFillRunSse2(p, bits, n, value);
}

}  // namespace kalidor
