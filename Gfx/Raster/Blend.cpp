#include "Gfx/Raster/Blend.h"

#include <algorithm>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace Gfx {
namespace Blend {

namespace {

#ifdef __SSE2__
// x * a / 255 for 16-bit lanes holding 8-bit values, rounded as Scale rounds.
inline __m128i Div255(__m128i x) {
    x = _mm_add_epi16(x, _mm_set1_epi16(128));
    return _mm_srli_epi16(_mm_add_epi16(x, _mm_srli_epi16(x, 8)), 8);
}

// The alpha of each of two pixels (16-bit lanes) spread over its four lanes.
inline __m128i SpreadAlpha(__m128i px16) {
    const __m128i a = _mm_shufflelo_epi16(px16, _MM_SHUFFLE(3, 3, 3, 3));
    return _mm_shufflehi_epi16(a, _MM_SHUFFLE(3, 3, 3, 3));
}

// dst = src + dst * (255 - src alpha) for four pixels, src already scaled by coverage.
inline __m128i Over4(__m128i src, __m128i dst) {
    const __m128i zero = _mm_setzero_si128();
    const __m128i ones = _mm_set1_epi16(255);
    const __m128i sLo = _mm_unpacklo_epi8(src, zero), sHi = _mm_unpackhi_epi8(src, zero);
    const __m128i iaLo = _mm_sub_epi16(ones, SpreadAlpha(sLo));
    const __m128i iaHi = _mm_sub_epi16(ones, SpreadAlpha(sHi));
    const __m128i dLo = Div255(_mm_mullo_epi16(_mm_unpacklo_epi8(dst, zero), iaLo));
    const __m128i dHi = Div255(_mm_mullo_epi16(_mm_unpackhi_epi8(dst, zero), iaHi));
    return _mm_adds_epu8(src, _mm_packus_epi16(dLo, dHi));
}

// Four pixels each scaled by its own coverage (the mask bytes of m4, first pixel lowest).
inline __m128i ScaleByMask4(__m128i src, uint32_t m4) {
    const __m128i zero = _mm_setzero_si128();
    // Each coverage byte spread over its pixel's four 16-bit lanes.
    const __m128i m16 = _mm_unpacklo_epi8(_mm_cvtsi32_si128(static_cast<int>(m4)), zero);
    const __m128i pairs = _mm_unpacklo_epi16(m16, m16);
    const __m128i lo = _mm_unpacklo_epi32(pairs, pairs);
    const __m128i hi = _mm_unpackhi_epi32(pairs, pairs);
    const __m128i sLo = Div255(_mm_mullo_epi16(_mm_unpacklo_epi8(src, zero), lo));
    const __m128i sHi = Div255(_mm_mullo_epi16(_mm_unpackhi_epi8(src, zero), hi));
    return _mm_packus_epi16(sLo, sHi);
}

inline __m128i ScaleBy4(__m128i src, uint32_t a) {
    const __m128i zero = _mm_setzero_si128();
    const __m128i k = _mm_set1_epi16(static_cast<short>(a));
    const __m128i sLo = Div255(_mm_mullo_epi16(_mm_unpacklo_epi8(src, zero), k));
    const __m128i sHi = Div255(_mm_mullo_epi16(_mm_unpackhi_epi8(src, zero), k));
    return _mm_packus_epi16(sLo, sHi);
}

inline __m128i Load(const uint32_t* p) {
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
}
inline void Store(uint32_t* p, __m128i v) {
    _mm_storeu_si128(reinterpret_cast<__m128i*>(p), v);
}

// Colour c (premultiplied, in every lane) over four pixels through their four mask bytes m4;
// empty and full masks skip the multiplications.
inline void SolidMask4(uint32_t* dst, __m128i c, bool opaque, uint32_t m4) {
    if (m4 == 0)
        return;
    if (m4 == 0xffffffffu)
        Store(dst, opaque ? c : Over4(c, Load(dst)));
    else
        Store(dst, Over4(ScaleByMask4(c, m4), Load(dst)));
}
#endif

}  // namespace

void SolidSpan(uint32_t* dst, int n, uint32_t color, uint32_t coverage) {
    const uint32_t src = coverage >= 255 ? color : Scale(color, coverage);
    if (src >> 24 == 255) {
        std::fill(dst, dst + n, src);
        return;
    }
    if (src == 0)
        return;
    int i = 0;
#ifdef __SSE2__
    const __m128i s = _mm_set1_epi32(static_cast<int>(src));
    for (; i + 4 <= n; i += 4) Store(dst + i, Over4(s, Load(dst + i)));
#endif
    for (; i < n; ++i) dst[i] = Over(src, dst[i]);
}

void SolidMaskRect(uint32_t* dst, ptrdiff_t stride, int width, int height, uint32_t color,
                   const uint8_t* mask, int maskStride) {
    for (int y = 0; y < height; ++y) {
        SolidMask(dst, width, color, mask);
        dst = reinterpret_cast<uint32_t*>(reinterpret_cast<uint8_t*>(dst) + stride);
        mask += maskStride;
    }
}

// Four coverage values a + (b - a) * weight / 128, as Lerp rounds them.
inline uint32_t Mix4(const uint8_t* a, const uint8_t* b, int weight) {
    uint32_t wa, wb;
    __builtin_memcpy(&wa, a, 4);
    __builtin_memcpy(&wb, b, 4);
    if (wa == wb)
        return wa;
#ifdef __SSE2__
    const __m128i zero = _mm_setzero_si128();
    const __m128i va = _mm_unpacklo_epi8(_mm_cvtsi32_si128(static_cast<int>(wa)), zero);
    const __m128i vb = _mm_unpacklo_epi8(_mm_cvtsi32_si128(static_cast<int>(wb)), zero);
    const __m128i d =
        _mm_mullo_epi16(_mm_sub_epi16(vb, va), _mm_set1_epi16(static_cast<short>(weight)));
    const __m128i m = _mm_add_epi16(va, _mm_srai_epi16(_mm_add_epi16(d, _mm_set1_epi16(64)), 7));
    return static_cast<uint32_t>(_mm_cvtsi128_si32(_mm_packus_epi16(m, zero)));
#else
    uint8_t out[4];
    for (int k = 0; k < 4; ++k)
        out[k] = static_cast<uint8_t>(a[k] + (((b[k] - a[k]) * weight + 64) >> 7));
    uint32_t m;
    __builtin_memcpy(&m, out, 4);
    return m;
#endif
}

void SolidMaskMix(uint32_t* dst, int n, uint32_t color, const uint8_t* a, const uint8_t* b,
                  int weight) {
    int i = 0;
#ifdef __SSE2__
    const __m128i c = _mm_set1_epi32(static_cast<int>(color));
    const bool opaque = color >> 24 == 255;
    for (; i + 4 <= n; i += 4) SolidMask4(dst + i, c, opaque, Mix4(a + i, b + i, weight));
#endif
    for (; i < n; ++i) {
        const int m = a[i] + (((b[i] - a[i]) * weight + 64) >> 7);
        if (m)
            dst[i] = Over(Scale(color, static_cast<uint32_t>(m)), dst[i]);
    }
}

void SolidMask(uint32_t* dst, int n, uint32_t color, const uint8_t* mask) {
    int i = 0;
#ifdef __SSE2__
    const __m128i c = _mm_set1_epi32(static_cast<int>(color));
    const bool opaque = color >> 24 == 255;
    for (; i + 4 <= n; i += 4) {
        uint32_t m4;
        __builtin_memcpy(&m4, mask + i, 4);
        SolidMask4(dst + i, c, opaque, m4);
    }
#endif
    for (; i < n; ++i)
        if (mask[i])
            dst[i] = Over(Scale(color, mask[i]), dst[i]);
}

void RowSpan(uint32_t* dst, const uint32_t* src, int n, uint32_t coverage, bool opaque) {
    if (coverage >= 255 && opaque) {
        std::copy(src, src + n, dst);
        return;
    }
    int i = 0;
#ifdef __SSE2__
    if (coverage >= 255) {
        for (; i + 4 <= n; i += 4) Store(dst + i, Over4(Load(src + i), Load(dst + i)));
    } else {
        for (; i + 4 <= n; i += 4)
            Store(dst + i, Over4(ScaleBy4(Load(src + i), coverage), Load(dst + i)));
    }
#endif
    for (; i < n; ++i) dst[i] = Over(coverage >= 255 ? src[i] : Scale(src[i], coverage), dst[i]);
}

void RowMask(uint32_t* dst, const uint32_t* src, int n, const uint8_t* mask) {
    int i = 0;
#ifdef __SSE2__
    for (; i + 4 <= n; i += 4) {
        uint32_t m4;
        __builtin_memcpy(&m4, mask + i, 4);
        if (m4 == 0)
            continue;
        const __m128i s = Load(src + i);
        Store(dst + i, Over4(m4 == 0xffffffffu ? s : ScaleByMask4(s, m4), Load(dst + i)));
    }
#endif
    for (; i < n; ++i)
        if (mask[i])
            dst[i] = Over(Scale(src[i], mask[i]), dst[i]);
}

void Lerp(uint8_t* out, const uint8_t* a, const uint8_t* b, int n, int weight) {
    int i = 0;
#ifdef __SSE2__
    // (b - a) * weight stays within 16 signed bits: 255 * 127.
    const __m128i zero = _mm_setzero_si128(), w = _mm_set1_epi16(static_cast<short>(weight));
    const __m128i half = _mm_set1_epi16(64);
    const auto mix = [&](__m128i x, __m128i y) {
        const __m128i d = _mm_mullo_epi16(_mm_sub_epi16(y, x), w);
        return _mm_add_epi16(x, _mm_srai_epi16(_mm_add_epi16(d, half), 7));
    };
    for (; i + 16 <= n; i += 16) {
        const __m128i va = _mm_loadu_si128(reinterpret_cast<const __m128i*>(a + i));
        const __m128i vb = _mm_loadu_si128(reinterpret_cast<const __m128i*>(b + i));
        const __m128i lo = mix(_mm_unpacklo_epi8(va, zero), _mm_unpacklo_epi8(vb, zero));
        const __m128i hi = mix(_mm_unpackhi_epi8(va, zero), _mm_unpackhi_epi8(vb, zero));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), _mm_packus_epi16(lo, hi));
    }
#endif
    for (; i < n; ++i) out[i] = static_cast<uint8_t>(a[i] + (((b[i] - a[i]) * weight + 64) >> 7));
}

}  // namespace Blend
}  // namespace Gfx
