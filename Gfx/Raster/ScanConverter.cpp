#include "Gfx/Raster/ScanConverter.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace Gfx {

namespace {

// Cells of the accumulation buffer at most (4 MiB of floats): taller shapes are converted
// in strips of rows.
constexpr size_t kMaxCells = size_t{1} << 20;
constexpr int kMaxSpan = 0xffff;

// Accumulated winding (signed area) to coverage under each rule. Beyond a winding of a
// million nothing is real: the value is only kept finite for the conversions.
constexpr float kMaxWinding = 1e6f;

template <bool kEvenOdd>
uint8_t Alpha(float acc) {
    float v = std::min(std::fabs(acc), kMaxWinding);
    if (kEvenOdd) {
        v -= 2 * static_cast<float>(static_cast<int>(v * 0.5f));
        v = std::min(v, 2 - v);
    } else {
        v = std::min(v, 1.0f);
    }
    return static_cast<uint8_t>(v * 255 + 0.5f);
}

// Sums cells[0..n) into acc, clearing them, and writes the coverage of each to out.
template <bool kEvenOdd>
void SweepCells(float* cells, int n, float* acc, uint8_t* out) {
    int c = 0;
#ifdef __SSE2__
    __m128 carry = _mm_set1_ps(*acc);
    const __m128 sign = _mm_set1_ps(-0.0f), one = _mm_set1_ps(1), two = _mm_set1_ps(2);
    const __m128 half = _mm_set1_ps(0.5f), most = _mm_set1_ps(kMaxWinding);
    const __m128 scale = _mm_set1_ps(255);
    for (; c + 4 <= n; c += 4) {
        __m128 x = _mm_loadu_ps(cells + c);
        _mm_storeu_ps(cells + c, _mm_setzero_ps());
        // Running sum within the four, then what came before.
        x = _mm_add_ps(x, _mm_castsi128_ps(_mm_slli_si128(_mm_castps_si128(x), 4)));
        x = _mm_add_ps(x, _mm_castsi128_ps(_mm_slli_si128(_mm_castps_si128(x), 8)));
        x = _mm_add_ps(x, carry);
        carry = _mm_shuffle_ps(x, x, _MM_SHUFFLE(3, 3, 3, 3));
        __m128 v = _mm_min_ps(_mm_andnot_ps(sign, x), most);
        if (kEvenOdd) {
            const __m128 pairs = _mm_cvtepi32_ps(_mm_cvttps_epi32(_mm_mul_ps(v, half)));
            v = _mm_sub_ps(v, _mm_mul_ps(two, pairs));
            v = _mm_min_ps(v, _mm_sub_ps(two, v));
        } else {
            v = _mm_min_ps(v, one);
        }
        const __m128i i = _mm_cvttps_epi32(_mm_add_ps(_mm_mul_ps(v, scale), half));
        const __m128i bytes = _mm_packus_epi16(_mm_packs_epi32(i, i), _mm_setzero_si128());
        const int four = _mm_cvtsi128_si32(bytes);
        __builtin_memcpy(out + c, &four, 4);
    }
    _mm_store_ss(acc, carry);
#endif
    for (; c < n; ++c) {
        *acc += cells[c];
        cells[c] = 0;
        out[c] = Alpha<kEvenOdd>(*acc);
    }
}

// Leaves out the uncovered pixels at both ends; false when nothing is covered.
bool Trim(int* x0, int* x1, const uint8_t** a) {
#ifdef __SSE2__
    if (*x1 - *x0 == 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(*a));
        const unsigned zero =
            static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(v, _mm_setzero_si128())));
        const unsigned covered = ~zero & 0xffffu;
        if (!covered)
            return false;
        const int first = __builtin_ctz(covered), last = 31 - __builtin_clz(covered);
        *a += first;
        *x1 = *x0 + last + 1;
        *x0 += first;
        return true;
    }
#endif
    while (*x0 < *x1 && (*a)[0] == 0) ++*x0, ++*a;
    while (*x1 > *x0 && (*a)[*x1 - *x0 - 1] == 0) --*x1;
    return *x1 > *x0;
}

bool AllEqual(const uint8_t* a, int n) {
    for (int i = 1; i < n; ++i)
        if (a[i] != a[0])
            return false;
    return true;
}

class SpanWriter {
  public:
    SpanWriter(CoverStore* store, int right) : m_Store(store), m_Right(right) {}

    void Constant(int x0, int x1, uint8_t alpha) {
        x1 = std::min(x1, m_Right);
        if (alpha == 0 || x1 <= x0)
            return;
        auto& spans = m_Store->spans;
        if (!spans.empty() && m_InRow) {
            CoverSpan& last = spans.back();
            if (!last.varying && last.alpha == alpha && last.x + last.len == x0 &&
                last.len + (x1 - x0) <= kMaxSpan) {
                last.len = static_cast<uint16_t>(last.len + (x1 - x0));
                return;
            }
        }
        while (x1 - x0 > kMaxSpan) {
            spans.push_back({x0, kMaxSpan, alpha, 0, 0});
            x0 += kMaxSpan;
        }
        spans.push_back({x0, static_cast<uint16_t>(x1 - x0), alpha, 0, 0});
        m_InRow = true;
    }

    // Per-pixel coverage of x0..x1-1 (a[0] is x0's).
    void Varying(int x0, int x1, const uint8_t* a) {
        x1 = std::min(x1, m_Right);
        if (!Trim(&x0, &x1, &a))
            return;
        const int n = x1 - x0;
        if (AllEqual(a, n)) {
            Constant(x0, x1, a[0]);
            return;
        }
        auto& spans = m_Store->spans;
        const size_t at = m_Store->alphaCount;
        std::memcpy(m_Store->AddAlphas(n), a, n);
        if (!spans.empty() && m_InRow) {
            CoverSpan& last = spans.back();
            if (last.varying && last.x + last.len == x0 && last.len + n <= kMaxSpan) {
                last.len = static_cast<uint16_t>(last.len + n);
                return;
            }
        }
        spans.push_back({x0, static_cast<uint16_t>(n), 0, 1, static_cast<uint32_t>(at)});
        m_InRow = true;
    }

  private:
    CoverStore* m_Store;
    int m_Right;
    bool m_InRow = false;  // a span of this row was written, so it may be extended
};

}  // namespace

void ScanConverter::Size(int width, int rows) {
    m_Width = width;
    m_Rows = rows;
    m_Stride = width;
    m_Words = ((width + kBlock - 1) / kBlock + 63) / 64;
    const size_t cells = static_cast<size_t>(width) * rows;
    const size_t words = static_cast<size_t>(m_Words) * rows;
    if (m_Cells.size() < cells)
        m_Cells.resize(cells, 0.0f);
    if (m_Touched.size() < words)
        m_Touched.resize(words, 0);
}

Cover ScanConverter::Convert(const EdgeList& edges, FillMode rule, CoverStore* store) {
    Cover cover;
    cover.store = store;
    if (edges.Empty())
        return cover;
    const PixelRect& clip = edges.Clip();
    const int x0 = std::max(clip.left, static_cast<int>(std::floor(edges.Left())));
    const int y0 = std::max(clip.top, static_cast<int>(std::floor(edges.Top())));
    const int y1 = std::min(clip.bottom, static_cast<int>(std::ceil(edges.Bottom())));
    if (y1 <= y0)
        return cover;
    const int width = static_cast<int>(std::ceil(edges.Right())) - x0 + 2;
    const int strip = static_cast<int>(
        std::max<size_t>(1, std::min<size_t>(kMaxCells / width, static_cast<size_t>(y1 - y0))));
    if (width - 2 <= kDenseWidth && !edges.ClippedRight() && strip == y1 - y0)
        return Dense(edges, rule, x0, y0, y1, width, store);
    cover.top = y0;
    cover.bottom = y1;
    cover.firstRow = static_cast<uint32_t>(store->rowStarts.size());
    if (m_Row.size() < static_cast<size_t>(width))
        m_Row.resize(width);
    for (int top = y0; top < y1; top += strip) {
        Size(width, std::min(strip, y1 - top));
        for (const Edge& e : edges.Edges())
            Accumulate<false>(e, static_cast<float>(x0), static_cast<float>(top));
        for (int row = 0; row < m_Rows; ++row) {
            store->rowStarts.push_back(static_cast<uint32_t>(store->spans.size()));
            if (rule == FillMode::Winding)
                SweepRow<false>(row, x0, clip.right, store);
            else
                SweepRow<true>(row, x0, clip.right, store);
        }
    }
    store->rowStarts.push_back(static_cast<uint32_t>(store->spans.size()));
    return cover;
}

namespace {

// floor and ceil of values known to be at least 0, without the library calls that x86-64's
// baseline instruction set needs for them.
inline int FloorPositive(float v) {
    return static_cast<int>(v);
}
inline int CeilPositive(float v) {
    const int i = static_cast<int>(v);
    return i + (static_cast<float>(i) < v);
}

}  // namespace

template <bool kDense>
void ScanConverter::Accumulate(const Edge& e, float originX, float originY) {
    float x0 = e.x0 - originX, y0 = e.y0 - originY, x1 = e.x1 - originX, y1 = e.y1 - originY;
    float dir = 1;
    if (y0 > y1) {
        std::swap(x0, x1);
        std::swap(y0, y1);
        dir = -1;
    }
    const float rows = static_cast<float>(m_Rows);
    // An edge may lose its height to rounding once moved to the buffer's origin.
    if (y1 <= 0 || y0 >= rows || !(y1 > y0))
        return;
    const float dxdy = (x1 - x0) / (y1 - y0);
    const float ya = std::max(y0, 0.0f), yb = std::min(y1, rows);
    const float maxX = static_cast<float>(m_Width - 2);
    // Clamped into the buffer: rounding may take a point a hair outside.
    const auto xAt = [&](float y) {
        const float x = x0 + (y - y0) * dxdy;
        return !(x > 0) ? 0 : (x > maxX ? maxX : x);  // a NaN goes to 0 too
    };
    float x = xAt(ya);
    const int yEnd = CeilPositive(yb);
    for (int y = FloorPositive(ya); y < yEnd; ++y) {
        const float top = std::max(static_cast<float>(y), ya);
        const float bottom = std::min(static_cast<float>(y + 1), yb);
        const float next = xAt(bottom);
        const float d = (bottom - top) * dir;
        float* row = m_Cells.data() + static_cast<size_t>(y) * m_Stride;
        const float xa = std::min(x, next), xb = std::max(x, next);
        const int ia = FloorPositive(xa), ib = CeilPositive(xb);
        const float fa = static_cast<float>(ia);
        if (ib <= ia + 1) {
            // Within one column: it covers what lies right of its mean position there.
            const float mean = 0.5f * (xa + xb) - fa;
            row[ia] += d * (1 - mean);
            row[ia + 1] += d * mean;
        } else {
            // Across columns: a triangle in the first and last, equal steps between.
            const float s = 1 / (xb - xa);
            const float fx0 = xa - fa;
            const float a0 = 0.5f * s * (1 - fx0) * (1 - fx0);
            const float fx1 = xb - static_cast<float>(ib) + 1;
            const float am = 0.5f * s * fx1 * fx1;
            row[ia] += d * a0;
            if (ib == ia + 2) {
                row[ia + 1] += d * (1 - a0 - am);
            } else {
                const float a1 = s * (1.5f - fx0);
                row[ia + 1] += d * (a1 - a0);
                for (int i = ia + 2; i < ib - 1; ++i) row[i] += d * s;
                const float a2 = a1 + static_cast<float>(ib - ia - 3) * s;
                row[ib - 1] += d * (1 - a2 - am);
            }
            row[ib] += d * am;
        }
        Touch<kDense>(y, ia, ib);
        x = next;
    }
}

Cover ScanConverter::Dense(const EdgeList& edges, FillMode rule, int x0, int y0, int y1, int width,
                           CoverStore* store) {
    const int rows = y1 - y0;
    Size(width, rows);
    m_First.assign(rows, width);
    m_Last.assign(rows, -1);
    for (const Edge& e : edges.Edges())
        Accumulate<true>(e, static_cast<float>(x0), static_cast<float>(y0));
    Cover cover;
    cover.store = store;
    cover.top = y0;
    cover.bottom = y1;
    cover.dense = true;
    cover.maskLeft = x0;
    cover.maskWidth = width - 1;  // the last cell only ever balances a row to zero
    cover.firstRow = static_cast<uint32_t>(store->maskRows.size());
    cover.maskOffset = store->alphaCount;
    uint8_t* mask = store->AddAlphas(static_cast<size_t>(rows) * cover.maskWidth);
    for (int row = 0; row < rows; ++row) {
        const int first = m_First[row], last = std::min(m_Last[row], cover.maskWidth - 1);
        if (last < first) {
            store->maskRows.push_back({0, 0});
            continue;
        }
        float acc = 0;
        float* cells = m_Cells.data() + static_cast<size_t>(row) * m_Stride;
        uint8_t* out = mask + static_cast<size_t>(row) * cover.maskWidth;
        if (rule == FillMode::Winding)
            SweepCells<false>(cells + first, last + 1 - first, &acc, out + first);
        else
            SweepCells<true>(cells + first, last + 1 - first, &acc, out + first);
        // Balancing leftovers beyond the mask (a row ends at winding zero).
        for (int c = last + 1; c <= m_Last[row]; ++c) cells[c] = 0;
        store->maskRows.push_back({static_cast<uint16_t>(first), static_cast<uint16_t>(last + 1)});
    }
    return cover;
}

template <bool kEvenOdd>
void ScanConverter::SweepRow(int row, int x0, int clipRight, CoverStore* store) {
    SpanWriter out(store, clipRight);
    float* cells = m_Cells.data() + static_cast<size_t>(row) * m_Stride;
    uint64_t* words = m_Touched.data() + static_cast<size_t>(row) * m_Words;
    float acc = 0;
    int done = 0;  // columns (from x0) written so far
    for (int w = 0; w < m_Words; ++w) {
        uint64_t bits = words[w];
        words[w] = 0;
        while (bits) {
            const int block = w * 64 + __builtin_ctzll(bits);
            bits &= bits - 1;
            const int c0 = block * kBlock, c1 = std::min(c0 + kBlock, m_Width);
            out.Constant(x0 + done, x0 + c0, Alpha<kEvenOdd>(acc));
            SweepCells<kEvenOdd>(cells + c0, c1 - c0, &acc, m_Row.data() + c0);
            out.Varying(x0 + c0, x0 + c1, m_Row.data() + c0);
            done = c1;
        }
    }
    out.Constant(x0 + done, clipRight, Alpha<kEvenOdd>(acc));
}

}  // namespace Gfx
