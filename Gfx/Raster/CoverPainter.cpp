#include "Gfx/Raster/CoverPainter.h"

#include <algorithm>

#include "Gfx/Raster/Blend.h"

namespace Gfx {

namespace {

uint32_t Channel(double v) {
    v = v < 0 ? 0 : (v > 1 ? 1 : v);
    return static_cast<uint32_t>(static_cast<uint16_t>(v * 65535.0 + 0.5)) >> 8;
}

// The span's part within columns [left, right): its first pixel and count.
bool ClipSpan(const CoverSpan& s, int left, int right, int* x, int* n) {
    *x = std::max(s.x, left);
    *n = std::min(s.x + static_cast<int>(s.len), right) - *x;
    return *n > 0;
}

}  // namespace

uint32_t PremultipliedColor(double r, double g, double b, double a) {
    a = a < 0 ? 0 : (a > 1 ? 1 : a);
    return Channel(a) << 24 | Channel(r * a) << 16 | Channel(g * a) << 8 | Channel(b * a);
}

void CoverPainter::Fill(const Cover& cover, const Paint& paint, const cairo_matrix_t& device,
                        const PixelRect& bounds, const PixelTarget& target, const PixelRect& clip,
                        bool gradientSpans) {
    const PixelRect rows =
        clip.Intersect(bounds).Intersect({bounds.left, cover.top, bounds.right, cover.bottom});
    if (cover.Empty() || rows.IsEmpty())
        return;
    const bool masks = cover.glyphCount > 0 || cover.dense;
    if (paint.kind == Paint::Kind::Solid) {
        const uint32_t color = PremultipliedColor(paint.r, paint.g, paint.b, paint.a);
        if (cover.glyphCount)
            FillGlyphs(cover, color, target, rows);
        else if (masks)
            FillMasks(cover, target, rows,
                      [color](int, int, int n, const uint8_t* m, uint32_t* dst) {
                          Blend::SolidMask(dst, n, color, m);
                      });
        else
            FillSolid(cover, color, target, rows);
        return;
    }
    const GradientPaint& gradient = *paint.gradient;
    if (gradientSpans && gradient.HasSpans()) {
        cairo_matrix_t toPattern = device;
        if (cairo_matrix_invert(&toPattern) != CAIRO_STATUS_SUCCESS)
            return;
        cairo_matrix_multiply(&toPattern, &toPattern, &paint.toPattern);
        const auto colors = [&](int y, int x0, int n) {
            if (m_Row.size() < static_cast<size_t>(n))
                m_Row.resize(n);
            gradient.FillSpan(toPattern, x0, y, n, m_Row.data());
            return m_Row.data();
        };
        if (masks) {
            FillMasks(cover, target, rows,
                      [&](int y, int x, int n, const uint8_t* m, uint32_t* dst) {
                          Blend::RowMask(dst, colors(y, x, n), n, m);
                      });
        } else if (gradient.IsOpaque() && WholeRows(cover, rows)) {
            // One fully covered span a row (a rectangle, a frame-filling shape): the
            // colours go straight to the target.
            for (int y = rows.top; y < rows.bottom; ++y) {
                const CoverSpan* sp = cover.RowBegin(y);
                int x, n;
                if (sp != cover.RowEnd(y) && ClipSpan(*sp, rows.left, rows.right, &x, &n))
                    gradient.FillSpan(toPattern, x, y, n, target.At(x, y));
            }
        } else {
            FillRows(cover, colors, gradient.IsOpaque(), target, rows);
        }
        return;
    }
    if (!CairoColors(paint, device, rows))
        return;
    const int width = rows.right - rows.left;
    const auto colors = [&](int y, int x0, int) {
        return m_Block.data() + static_cast<size_t>(y - rows.top) * width + (x0 - rows.left);
    };
    if (masks)
        FillMasks(cover, target, rows, [&](int y, int x, int n, const uint8_t* m, uint32_t* dst) {
            Blend::RowMask(dst, colors(y, x, n), n, m);
        });
    else
        FillRows(cover, colors, false, target, rows);
}

void CoverPainter::FillGlyphs(const Cover& cover, uint32_t color, const PixelTarget& target,
                              const PixelRect& rows) {
    const PlacedGlyph* g = cover.store->glyphs.data() + cover.firstGlyph;
    for (const PlacedGlyph* end = g + cover.glyphCount; g != end; ++g) {
        const int x0 = std::max(g->x, rows.left), x1 = std::min(g->x + g->width, rows.right);
        const int y0 = std::max(g->y, rows.top), y1 = std::min(g->y + g->height, rows.bottom);
        if (x1 <= x0 || y1 <= y0)
            continue;
        const size_t first = static_cast<size_t>(y0 - g->y) * g->width + (x0 - g->x);
        if (!g->weight) {
            Blend::SolidMaskRect(target.At(x0, y0), target.stride, x1 - x0, y1 - y0, color,
                                 g->mask + first, g->width);
            continue;
        }
        for (int y = y0; y < y1; ++y) {
            const size_t at = first + static_cast<size_t>(y - y0) * g->width;
            Blend::SolidMaskMix(target.At(x0, y), x1 - x0, color, g->mask + at, g->next + at,
                                g->weight);
        }
    }
}

const uint8_t* CoverPainter::Mixed(const PlacedGlyph& g, size_t at, int n) {
    if (!g.weight)
        return g.mask + at;
    if (m_Mixed.size() < static_cast<size_t>(n))
        m_Mixed.resize(n);
    Blend::Lerp(m_Mixed.data(), g.mask + at, g.next + at, n, g.weight);
    return m_Mixed.data();
}

template <typename BlendRow>
void CoverPainter::FillMasks(const Cover& cover, const PixelTarget& target, const PixelRect& rows,
                             BlendRow&& blend) {
    if (cover.dense) {
        for (int y = rows.top; y < rows.bottom; ++y) {
            const MaskRow r = cover.MaskRange(y);
            const int x0 = std::max(cover.maskLeft + r.begin, rows.left);
            const int x1 = std::min(cover.maskLeft + r.end, rows.right);
            if (x1 > x0)
                blend(y, x0, x1 - x0, cover.MaskRowAt(y) + (x0 - cover.maskLeft), target.At(x0, y));
        }
        return;
    }
    const PlacedGlyph* g = cover.store->glyphs.data() + cover.firstGlyph;
    for (const PlacedGlyph* end = g + cover.glyphCount; g != end; ++g) {
        const int x0 = std::max(g->x, rows.left), x1 = std::min(g->x + g->width, rows.right);
        const int y0 = std::max(g->y, rows.top), y1 = std::min(g->y + g->height, rows.bottom);
        if (x1 <= x0)
            continue;
        for (int y = y0; y < y1; ++y) {
            const size_t at = static_cast<size_t>(y - g->y) * g->width + (x0 - g->x);
            blend(y, x0, x1 - x0, Mixed(*g, at, x1 - x0), target.At(x0, y));
        }
    }
}

void CoverPainter::FillSolid(const Cover& cover, uint32_t color, const PixelTarget& target,
                             const PixelRect& rows) {
    for (int y = rows.top; y < rows.bottom; ++y) {
        for (const CoverSpan* s = cover.RowBegin(y); s != cover.RowEnd(y); ++s) {
            int x, n;
            if (!ClipSpan(*s, rows.left, rows.right, &x, &n))
                continue;
            uint32_t* dst = target.At(x, y);
            if (s->varying)
                Blend::SolidMask(dst, n, color, cover.Alphas(*s) + (x - s->x));
            else
                Blend::SolidSpan(dst, n, color, s->alpha);
        }
    }
}

bool CoverPainter::WholeRows(const Cover& cover, const PixelRect& rows) {
    if (cover.dense || cover.glyphCount)
        return false;
    for (int y = rows.top; y < rows.bottom; ++y) {
        const CoverSpan* b = cover.RowBegin(y);
        const CoverSpan* e = cover.RowEnd(y);
        if (e - b > 1 || (b != e && (b->varying || b->alpha != 255)))
            return false;
    }
    return true;
}

template <typename RowColors>
void CoverPainter::FillRows(const Cover& cover, RowColors&& colors, bool opaque,
                            const PixelTarget& target, const PixelRect& rows) {
    for (int y = rows.top; y < rows.bottom; ++y) {
        const CoverSpan* begin = cover.RowBegin(y);
        const CoverSpan* end = cover.RowEnd(y);
        if (begin == end)
            continue;
        const int x0 = std::max(begin->x, rows.left);
        const int x1 = std::min((end - 1)->x + static_cast<int>((end - 1)->len), rows.right);
        if (x1 <= x0)
            continue;
        const uint32_t* row = colors(y, x0, x1 - x0);
        for (const CoverSpan* s = begin; s != end; ++s) {
            int x, n;
            if (!ClipSpan(*s, x0, x1, &x, &n))
                continue;
            uint32_t* dst = target.At(x, y);
            const uint32_t* src = row + (x - x0);
            if (s->varying)
                Blend::RowMask(dst, src, n, cover.Alphas(*s) + (x - s->x));
            else
                Blend::RowSpan(dst, src, n, s->alpha, opaque);
        }
    }
}

bool CoverPainter::CairoColors(const Paint& paint, const cairo_matrix_t& device,
                               const PixelRect& area) {
    const int width = area.right - area.left, height = area.bottom - area.top;
    m_Block.assign(static_cast<size_t>(width) * height, 0);
    cairo_surface_t* s =
        cairo_image_surface_create_for_data(reinterpret_cast<unsigned char*>(m_Block.data()),
                                            CAIRO_FORMAT_ARGB32, width, height, width * 4);
    cairo_surface_set_device_offset(s, -area.left, -area.top);
    cairo_t* cr = cairo_create(s);
    cairo_set_matrix(cr, &device);
    const bool ok = SetPaintSource(cr, paint);
    if (ok) {
        cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
        cairo_paint(cr);
    }
    const bool drawn = ok && cairo_status(cr) == CAIRO_STATUS_SUCCESS;
    cairo_destroy(cr);
    cairo_surface_destroy(s);
    return drawn;
}

}  // namespace Gfx
