#include "Gfx/Raster/ImagePainter.h"

#include <algorithm>
#include <cmath>

#include "Gfx/CairoNative.h"
#include "Gfx/Raster/Blend.h"

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace Gfx {

// The source rectangle in whole pixels and the map from device pixel centres onto image
// positions, where a pixel's samples are taken half a pixel up and left of its centre.
struct ImagePainter::Source {
    const uint8_t* pixels;
    int stride;
    int left, top, right, bottom;  // pixels that may be sampled; beyond, the edge repeats
    double xx, xy, x0;             // image x = xx * device x + xy * device y + x0
    double yx, yy, y0;
    bool axisAligned;

    const uint32_t* Row(int y) const {
        y = std::clamp(y, top, bottom - 1);
        return reinterpret_cast<const uint32_t*>(pixels + static_cast<ptrdiff_t>(y) * stride);
    }
    int Column(int x) const { return std::clamp(x, left, right - 1); }
};

namespace {

// floor for positions well within int, without the library call.
inline int Floor(double v) {
    const int i = static_cast<int>(v);
    return i - (static_cast<double>(i) > v);
}

// Positions are kept within this many pixels of the image; beyond, the edge repeats anyway.
constexpr double kFar = 1 << 24;

// A bilinear weight: seven bits of the position's fraction, as the image library behind
// Cairo keeps it, so its samples and ours are the same numbers.
inline int Weight(double v, int whole) {
    return static_cast<int>((v - whole) * 128);
}

// The four neighbours mixed by 7-bit weights: each channel summed whole over 128 * 128 and
// cut to 8 bits.
inline uint32_t Bilinear(uint32_t tl, uint32_t tr, uint32_t bl, uint32_t br, int wx, int wy) {
    uint32_t out = 0;
    for (int c = 0; c < 32; c += 8) {
        const uint32_t top = (tl >> c & 255) * (128 - wx) + (tr >> c & 255) * wx;
        const uint32_t bottom = (bl >> c & 255) * (128 - wx) + (br >> c & 255) * wx;
        out |= ((top * (128 - wy) + bottom * wy) >> 14) << c;
    }
    return out;
}

}  // namespace

bool ImagePainter::Draws(const DrawOp& op) {
    if (op.kind != DrawOp::Kind::Bitmap || op.antialias == CAIRO_ANTIALIAS_NONE)
        return false;
    cairo_surface_t* s = op.bitmap->GetNative()->surface;
    return cairo_image_surface_get_format(s) == CAIRO_FORMAT_ARGB32;
}

// Two source rows mixed down by wy/128 into 16 bits a channel (value * 128), for the source
// columns from..to-1.
void ImagePainter::MixRows(const uint32_t* r0, const uint32_t* r1, int wy, int from, int to) {
    m_Mixed.resize(static_cast<size_t>(to - from) * 4);
    uint16_t* out = m_Mixed.data();
    int i = from;
#ifdef __SSE2__
    const __m128i zero = _mm_setzero_si128();
    const __m128i w0 = _mm_set1_epi16(static_cast<short>(128 - wy));
    const __m128i w1 = _mm_set1_epi16(static_cast<short>(wy));
    for (; i + 4 <= to; i += 4, out += 16) {
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(r0 + i));
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(r1 + i));
        const __m128i lo = _mm_add_epi16(_mm_mullo_epi16(_mm_unpacklo_epi8(a, zero), w0),
                                         _mm_mullo_epi16(_mm_unpacklo_epi8(b, zero), w1));
        const __m128i hi = _mm_add_epi16(_mm_mullo_epi16(_mm_unpackhi_epi8(a, zero), w0),
                                         _mm_mullo_epi16(_mm_unpackhi_epi8(b, zero), w1));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out), lo);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 8), hi);
    }
#endif
    for (; i < to; ++i, out += 4)
        for (int c = 0; c < 4; ++c)
            out[c] = static_cast<uint16_t>((r0[i] >> (8 * c) & 255) * (128 - wy) +
                                           (r1[i] >> (8 * c) & 255) * wy);
}

void ImagePainter::SampleAligned(const Source& s, int y, int x0, int n, uint32_t* out) {
    const double fy = std::clamp(s.yy * (y + 0.5) + s.y0 - 0.5, -kFar, kFar);
    const int iy = Floor(fy);
    const int wy = Weight(fy, iy);
    const uint32_t* r0 = s.Row(iy);
    const uint32_t* r1 = s.Row(iy + 1);
    const double start = s.xx * (x0 + 0.5) + s.x0 - 0.5, step = s.xx;
    // One image pixel per device pixel, on whole pixels: a copy of the row.
    if (step == 1 && start == std::floor(start) && wy == 0 && start >= s.left &&
        start + n <= s.right) {
        std::copy_n(r0 + static_cast<int>(start), n, out);
        return;
    }
    // The source columns the row reads, mixed down once; then each pixel mixes across, its
    // position stepped in 16.16 fixed point.
    const double last = start + step * (n - 1);
    const int from = s.Column(Floor(std::clamp(std::min(start, last), -kFar, kFar)));
    const int to = s.Column(Floor(std::clamp(std::max(start, last), -kFar, kFar)) + 1) + 1;
    MixRows(r0, r1, wy, from, to);
    const uint16_t* mixed = m_Mixed.data();
    const int lo = s.left - from, hi = s.right - 1 - from;
    int64_t fx = static_cast<int64_t>(std::llround(std::clamp(start, -kFar, kFar) * 65536)) -
                 (static_cast<int64_t>(from) << 16);
    const int64_t dfx = static_cast<int64_t>(std::llround(step * 65536));
    // (a * (128 - wx) + b * wx) >> 14 for the four channels of the source pixel pair at a.
    const auto mix = [mixed](int a, int b, int64_t at) {
        const int wx = static_cast<int>(at >> 9) & 127;
#ifdef __SSE2__
        const __m128i pair = _mm_unpacklo_epi16(
            _mm_loadl_epi64(reinterpret_cast<const __m128i*>(mixed + a * 4)),
            _mm_loadl_epi64(reinterpret_cast<const __m128i*>(mixed + b * 4)));
        const __m128i v =
            _mm_srli_epi32(_mm_madd_epi16(pair, _mm_set1_epi32((wx << 16) | (128 - wx))), 14);
        const __m128i packed = _mm_packs_epi32(v, v);
        return static_cast<uint32_t>(_mm_cvtsi128_si32(_mm_packus_epi16(packed, packed)));
#else
        uint32_t px = 0;
        for (int c = 0; c < 4; ++c)
            px |= ((uint32_t{mixed[a * 4 + c]} * (128 - wx) + uint32_t{mixed[b * 4 + c]} * wx) >>
                   14)
                  << (8 * c);
        return px;
#endif
    };
    const auto clamped = [&](int64_t at) {
        const int ix = static_cast<int>(at >> 16);
        return mix(std::min(std::max(ix, lo), hi), std::min(std::max(ix + 1, lo), hi), at);
    };
    int i = 0;
    if (dfx > 0) {
        // Left of the source, within it (no clamping: the common run), right of it.
        for (; i < n && (fx >> 16) < lo; ++i, fx += dfx) out[i] = clamped(fx);
        while (i < n && (fx >> 16) + 1 <= hi) {
            // Every pixel between this source pixel and the next mixes the same pair.
            const int ix = static_cast<int>(fx >> 16);
            const int64_t next = static_cast<int64_t>(ix + 1) << 16;
#ifdef __SSE2__
            const __m128i pair = _mm_unpacklo_epi16(
                _mm_loadl_epi64(reinterpret_cast<const __m128i*>(mixed + ix * 4)),
                _mm_loadl_epi64(reinterpret_cast<const __m128i*>(mixed + ix * 4 + 4)));
            do {
                const int wx = static_cast<int>(fx >> 9) & 127;
                const __m128i v = _mm_srli_epi32(
                    _mm_madd_epi16(pair, _mm_set1_epi32((wx << 16) | (128 - wx))), 14);
                const __m128i packed = _mm_packs_epi32(v, v);
                out[i++] =
                    static_cast<uint32_t>(_mm_cvtsi128_si32(_mm_packus_epi16(packed, packed)));
                fx += dfx;
            } while (i < n && fx < next);
#else
            do {
                out[i++] = mix(ix, ix + 1, fx);
                fx += dfx;
            } while (i < n && fx < next);
#endif
        }
    }
    for (; i < n; ++i, fx += dfx) out[i] = clamped(fx);
}

void ImagePainter::SampleRow(const Source& s, int y, int x0, int n, uint32_t* out) {
    if (s.axisAligned) {
        SampleAligned(s, y, x0, n, out);
        return;
    }
    const double cy = y + 0.5;
    for (int i = 0; i < n; ++i) {
        const double px = x0 + i + 0.5;
        const double fx = std::clamp(s.xx * px + s.xy * cy + s.x0 - 0.5, -kFar, kFar);
        const double fy = std::clamp(s.yx * px + s.yy * cy + s.y0 - 0.5, -kFar, kFar);
        const int ix = Floor(fx), iy = Floor(fy);
        const uint32_t* r0 = s.Row(iy);
        const uint32_t* r1 = s.Row(iy + 1);
        const int a = s.Column(ix), b = s.Column(ix + 1);
        out[i] = Bilinear(r0[a], r0[b], r1[a], r1[b], Weight(fx, ix), Weight(fy, iy));
    }
}

void ImagePainter::Paint(const Cover& cover, const DrawOp& op, const PixelTarget& target,
                         const PixelRect& clip) {
    const PixelRect rows = clip.Intersect(op.bounds).Intersect(
        {op.bounds.left, cover.top, op.bounds.right, cover.bottom});
    if (cover.Empty() || rows.IsEmpty())
        return;
    cairo_surface_t* surface = op.bitmap->GetNative()->surface;
    const SizeU size = op.bitmap->GetPixelSize();
    Source s;
    s.pixels = cairo_image_surface_get_data(surface);
    s.stride = cairo_image_surface_get_stride(surface);
    // The source rectangle, whole pixels outward, within the image.
    s.left = static_cast<int>(std::floor(std::max<double>(op.src.left, 0)));
    s.top = static_cast<int>(std::floor(std::max<double>(op.src.top, 0)));
    s.right = static_cast<int>(std::ceil(std::min<double>(op.src.right, size.width)));
    s.bottom = static_cast<int>(std::ceil(std::min<double>(op.src.bottom, size.height)));
    if (!s.pixels || s.right <= s.left || s.bottom <= s.top)
        return;
    // Device -> user -> image.
    cairo_matrix_t toUser = op.device;
    if (cairo_matrix_invert(&toUser) != CAIRO_STATUS_SUCCESS)
        return;
    const double sx = (double(op.src.right) - op.src.left) / (double(op.dest.right) - op.dest.left);
    const double sy = (double(op.src.bottom) - op.src.top) / (double(op.dest.bottom) - op.dest.top);
    s.xx = sx * toUser.xx, s.xy = sx * toUser.xy;
    s.x0 = sx * (toUser.x0 - op.dest.left) + op.src.left;
    s.yx = sy * toUser.yx, s.yy = sy * toUser.yy;
    s.y0 = sy * (toUser.y0 - op.dest.top) + op.src.top;
    if (!std::isfinite(s.xx + s.xy + s.x0 + s.yx + s.yy + s.y0))
        return;
    s.axisAligned = s.xy == 0 && s.yx == 0;
    // The opacity goes with the coverage, as one factor.
    const uint32_t opacity = op.opacity >= 1 ? 255 : PremultipliedColor(0, 0, 0, op.opacity) >> 24;
    const bool opaque = opacity == 255 && op.bitmap->GetNative()->opaque;
    for (int y = rows.top; y < rows.bottom; ++y) {
        int x0, x1;
        cover.RowExtent(y, &x0, &x1);
        x0 = std::max(x0, rows.left);
        x1 = std::min(x1, rows.right);
        if (x1 <= x0)
            continue;
        // A fully covered opaque row is sampled straight into the target.
        int runs = 0;
        bool whole = true;
        cover.ForEachRun(y, [&](int rx, int rn, const uint8_t* values, uint8_t value) {
            ++runs;
            whole = whole && !values && value == 255 && rx <= x0 && rx + rn >= x1;
        });
        if (opaque && runs == 1 && whole) {
            SampleRow(s, y, x0, x1 - x0, target.At(x0, y));
            continue;
        }
        if (m_Row.size() < static_cast<size_t>(x1 - x0))
            m_Row.resize(x1 - x0);
        SampleRow(s, y, x0, x1 - x0, m_Row.data());
        cover.ForEachRun(y, [&](int rx, int rn, const uint8_t* values, uint8_t value) {
            const int x = std::max(rx, x0);
            const int n = std::min(rx + rn, x1) - x;
            if (n <= 0)
                return;
            uint32_t* dst = target.At(x, y);
            const uint32_t* src = m_Row.data() + (x - x0);
            if (!values) {
                Blend::RowSpan(dst, src, n, opacity == 255 ? value : Blend::Scale(value, opacity),
                               opaque);
                return;
            }
            const uint8_t* mask = values + (x - rx);
            if (opacity < 255) {
                m_Mask.resize(n);
                for (int i = 0; i < n; ++i)
                    m_Mask[i] = static_cast<uint8_t>(Blend::Scale(mask[i], opacity));
                mask = m_Mask.data();
            }
            Blend::RowMask(dst, src, n, mask);
        });
    }
}

}  // namespace Gfx
