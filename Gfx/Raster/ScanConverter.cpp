#include "Gfx/Raster/ScanConverter.h"

#include <algorithm>
#include <cmath>

namespace Gfx {

namespace {

// Cells of the accumulation buffer at most (4 MiB of floats): taller shapes are converted
// in strips of rows.
constexpr size_t kMaxCells = size_t{1} << 20;
constexpr int kMaxSpan = 0xffff;

uint8_t NonZero(float acc) {
    const float v = std::min(std::fabs(acc), 1.0f);
    return static_cast<uint8_t>(v * 255 + 0.5f);
}

uint8_t EvenOdd(float acc) {
    float v = std::fabs(acc);
    v -= 2 * std::floor(v / 2);
    if (v > 1)
        v = 2 - v;
    return static_cast<uint8_t>(v * 255 + 0.5f);
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
        while (x0 < x1 && a[0] == 0) ++x0, ++a;
        while (x1 > x0 && a[x1 - x0 - 1] == 0) --x1;
        if (x1 <= x0)
            return;
        const int n = x1 - x0;
        if (std::all_of(a, a + n, [a](uint8_t v) { return v == a[0]; })) {
            Constant(x0, x1, a[0]);
            return;
        }
        auto& spans = m_Store->spans;
        auto& alphas = m_Store->alphas;
        if (!spans.empty() && m_InRow) {
            CoverSpan& last = spans.back();
            if (last.varying && last.x + last.len == x0 && last.len + n <= kMaxSpan) {
                last.len = static_cast<uint16_t>(last.len + n);
                alphas.insert(alphas.end(), a, a + n);
                return;
            }
        }
        spans.push_back({x0, static_cast<uint16_t>(n), 0, 1, static_cast<uint32_t>(alphas.size())});
        alphas.insert(alphas.end(), a, a + n);
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
    cover.top = y0;
    cover.bottom = y1;
    cover.firstRow = static_cast<uint32_t>(store->rowStarts.size());
    if (m_Row.size() < static_cast<size_t>(width))
        m_Row.resize(width);
    for (int top = y0; top < y1; top += strip) {
        Size(width, std::min(strip, y1 - top));
        for (const Edge& e : edges.Edges()) Accumulate(e, static_cast<float>(x0), static_cast<float>(top));
        for (int row = 0; row < m_Rows; ++row) {
            store->rowStarts.push_back(static_cast<uint32_t>(store->spans.size()));
            SweepRow(row, x0, clip.right, rule, store);
        }
    }
    store->rowStarts.push_back(static_cast<uint32_t>(store->spans.size()));
    return cover;
}

void ScanConverter::Accumulate(const Edge& e, float originX, float originY) {
    float x0 = e.x0 - originX, y0 = e.y0 - originY, x1 = e.x1 - originX, y1 = e.y1 - originY;
    float dir = 1;
    if (y0 > y1) {
        std::swap(x0, x1);
        std::swap(y0, y1);
        dir = -1;
    }
    const float rows = static_cast<float>(m_Rows);
    if (y1 <= 0 || y0 >= rows)
        return;
    const float dxdy = (x1 - x0) / (y1 - y0);
    const float ya = std::max(y0, 0.0f), yb = std::min(y1, rows);
    const float maxX = static_cast<float>(m_Width - 2);
    const auto xAt = [&](float y) { return std::clamp(x0 + (y - y0) * dxdy, 0.0f, maxX); };
    float x = xAt(ya);
    const int yEnd = static_cast<int>(std::ceil(yb));
    for (int y = static_cast<int>(std::floor(ya)); y < yEnd; ++y) {
        const float bottom = std::min(static_cast<float>(y + 1), yb);
        const float dy = bottom - std::max(static_cast<float>(y), ya);
        const float next = xAt(bottom);
        const float d = dy * dir;
        float* row = m_Cells.data() + static_cast<size_t>(y) * m_Stride;
        const float xa = std::min(x, next), xb = std::max(x, next);
        const float fa = std::floor(xa);
        const int ia = static_cast<int>(fa), ib = static_cast<int>(std::ceil(xb));
        if (ib <= ia + 1) {
            // Within one column: it covers what lies right of its mean position there.
            const float mean = 0.5f * (xa + xb) - fa;
            row[ia] += d * (1 - mean);
            row[ia + 1] += d * mean;
            Mark(y, ia);
            Mark(y, ia + 1);
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
            for (int block = ia / kBlock; block <= ib / kBlock; ++block) Mark(y, block * kBlock);
        }
        x = next;
    }
}

void ScanConverter::SweepRow(int row, int x0, int clipRight, FillMode rule, CoverStore* store) {
    const auto alpha = rule == FillMode::Winding ? NonZero : EvenOdd;
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
            out.Constant(x0 + done, x0 + c0, alpha(acc));
            for (int c = c0; c < c1; ++c) {
                acc += cells[c];
                cells[c] = 0;
                m_Row[c] = alpha(acc);
            }
            out.Varying(x0 + c0, x0 + c1, m_Row.data() + c0);
            done = c1;
        }
    }
    out.Constant(x0 + done, clipRight, alpha(acc));
}

}  // namespace Gfx
