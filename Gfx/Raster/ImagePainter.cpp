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

// Two source rows mixed down by wy/128, rounded to 8 bits a channel, for the source columns
// from..to-1, with the edge column repeated once on each side: m_Mixed[k + 1] is column
// from + k.
void ImagePainter::MixRows(const uint32_t* r0, const uint32_t* r1, int wy, int from, int to) {
    const int n = to - from;
    m_Mixed.resize(static_cast<size_t>(n) + 2);
    uint32_t* out = m_Mixed.data() + 1;
    int i = 0;
#ifdef __SSE2__
    const __m128i zero = _mm_setzero_si128(), half = _mm_set1_epi16(64);
    const __m128i w0 = _mm_set1_epi16(static_cast<short>(128 - wy));
    const __m128i w1 = _mm_set1_epi16(static_cast<short>(wy));
    const auto mix = [&](__m128i a, __m128i b) {
        return _mm_srli_epi16(
            _mm_add_epi16(_mm_add_epi16(_mm_mullo_epi16(a, w0), _mm_mullo_epi16(b, w1)), half), 7);
    };
    for (; i + 4 <= n; i += 4) {
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(r0 + from + i));
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(r1 + from + i));
        const __m128i lo = mix(_mm_unpacklo_epi8(a, zero), _mm_unpacklo_epi8(b, zero));
        const __m128i hi = mix(_mm_unpackhi_epi8(a, zero), _mm_unpackhi_epi8(b, zero));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), _mm_packus_epi16(lo, hi));
    }
#endif
    for (; i < n; ++i) {
        uint32_t px = 0;
        for (int c = 0; c < 32; c += 8)
            px |= (((r0[from + i] >> c & 255) * (128 - wy) + (r1[from + i] >> c & 255) * wy + 64) >>
                   7)
                  << c;
        out[i] = px;
    }
    out[-1] = out[0];
    out[n] = out[n - 1];
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
    // The source columns the row reads, mixed down once (rows exactly on a source row are
    // that row); then each pixel mixes across, its position stepped in 16.16 fixed point.
    const double last = start + step * (n - 1);
    const int from = s.Column(Floor(std::clamp(std::min(start, last), -kFar, kFar)));
    const int to = s.Column(Floor(std::clamp(std::max(start, last), -kFar, kFar)) + 1) + 1;
    MixRows(r0, r1, wy, from, to);
    // Column c of the source is row[c]; columns from - 1 and to repeat the edges, and
    // positions beyond them are held there.
    const uint32_t* row = m_Mixed.data() + 1 - from;
    const int lo = from - 1, hi = to - 1;
    int64_t fx = static_cast<int64_t>(std::llround(std::clamp(start, -kFar, kFar) * 65536));
    const int64_t dfx = static_cast<int64_t>(std::llround(step * 65536));
    int i = 0;
#ifdef __SSE2__
    const __m128i zero = _mm_setzero_si128(), half = _mm_set1_epi16(64);
    // Pixel by pixel, a + (b - a) * w with a in the low four lanes and its right neighbour b
    // in the high four; enlarged images four pixels at a time while they fall between the
    // same two source pixels, with their four weights side by side.
    const bool enlarged = dfx > 0 && dfx < 65536 / 2;
    const __m128i steps = _mm_set_epi32(3, 2, 1, 0);
    const __m128i stepBy = _mm_set1_epi32(static_cast<int32_t>(dfx));
    while (i < n) {
        const int ix = std::min(std::max(static_cast<int>(fx >> 16), lo), hi);
        const __m128i ab = _mm_unpacklo_epi8(
            _mm_loadl_epi64(reinterpret_cast<const __m128i*>(row + ix)), zero);
        if (!enlarged || ix != static_cast<int>(fx >> 16)) {
            const int wx = static_cast<int>(fx >> 9) & 127;
            const __m128i d = _mm_mullo_epi16(_mm_sub_epi16(_mm_srli_si128(ab, 8), ab),
                                              _mm_set1_epi16(static_cast<short>(wx)));
            const __m128i v = _mm_add_epi16(ab, _mm_srai_epi16(_mm_add_epi16(d, half), 7));
            out[i++] = static_cast<uint32_t>(_mm_cvtsi128_si32(_mm_packus_epi16(v, v)));
            fx += dfx;
            continue;
        }
        const __m128i a = _mm_unpacklo_epi64(ab, ab);
        const __m128i d = _mm_sub_epi16(_mm_unpackhi_epi64(ab, ab), a);
        for (; i + 4 <= n && static_cast<int>((fx + 3 * dfx) >> 16) == ix; i += 4, fx += 4 * dfx) {
            // The weights of the four pixels, each spread over its four channels.
            const __m128i w32 = _mm_and_si128(
                _mm_srli_epi32(_mm_add_epi32(_mm_set1_epi32(static_cast<int32_t>(fx & 0xffff)),
                                             _mm_mullo_epi16(steps, stepBy)),
                               9),
                _mm_set1_epi32(127));
            const __m128i w16 = _mm_packs_epi32(w32, w32);
            const __m128i w01 = _mm_unpacklo_epi16(w16, w16);
            const __m128i v01 = _mm_add_epi16(
                a, _mm_srai_epi16(
                       _mm_add_epi16(_mm_mullo_epi16(d, _mm_unpacklo_epi32(w01, w01)), half), 7));
            const __m128i v23 = _mm_add_epi16(
                a, _mm_srai_epi16(
                       _mm_add_epi16(_mm_mullo_epi16(d, _mm_unpackhi_epi32(w01, w01)), half), 7));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), _mm_packus_epi16(v01, v23));
        }
        for (; i < n && static_cast<int>(fx >> 16) == ix; ++i, fx += dfx) {
            const int wx = static_cast<int>(fx >> 9) & 127;
            const __m128i v = _mm_add_epi16(
                a, _mm_srai_epi16(
                       _mm_add_epi16(_mm_mullo_epi16(d, _mm_set1_epi16(static_cast<short>(wx))),
                                     half),
                       7));
            out[i] = static_cast<uint32_t>(_mm_cvtsi128_si32(_mm_packus_epi16(v, v)));
        }
    }
#else
    for (; i < n; ++i, fx += dfx) {
        const int ix = std::min(std::max(static_cast<int>(fx >> 16), lo), hi);
        const int wx = static_cast<int>(fx >> 9) & 127;
        const uint32_t a = row[ix], b = row[ix + 1];
        uint32_t px = 0;
        for (int c = 0; c < 32; c += 8) {
            const int ac = a >> c & 255, bc = b >> c & 255;
            px |= static_cast<uint32_t>(ac + (((bc - ac) * wx + 64) >> 7)) << c;
        }
        out[i] = px;
    }
#endif
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
