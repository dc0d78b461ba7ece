#include "Gfx/Raster/CoverBuilder.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "Gfx/Raster/PathFlattener.h"

namespace Gfx {

namespace {

// Where glyph masks are worked out: far larger than any glyph that is kept.
constexpr int kGlyphArea = 4096;


}  // namespace

void CoverBuilder::Edges(const DrawOp& op, const PathData& data, const cairo_matrix_t& device,
                         uint32_t first, uint32_t count) {
    if (op.kind == DrawOp::Kind::Fill)
        FlattenFill(data, device, &m_Edges, first, count);
    else
        m_Stroker.Stroke(data, op.strokeWidth, device, &m_Edges, first, count);
}

Cover CoverBuilder::Build(const DrawOp& op, const PixelRect& clip, CoverStore* store,
                          GlyphCache* glyphs) {
    Cover cover;
    if (glyphs && op.geometry->Data().glyphs && BuildGlyphs(op, clip, store, glyphs, &cover))
        return cover;
    m_Edges.Reset(op.bounds.Intersect(clip));
    Edges(op, op.geometry->Data(), op.device, 0, UINT32_MAX);
    const FillMode rule =
        op.kind == DrawOp::Kind::Fill ? op.geometry->Data().fillMode : FillMode::Winding;
    return m_Converter.Convert(m_Edges, rule, store);
}

bool CoverBuilder::BuildGlyphs(const DrawOp& op, const PixelRect& clip, CoverStore* store,
                               GlyphCache* cache, Cover* cover) {
    const cairo_matrix_t& d = op.device;
    const PixelRect area = op.bounds.Intersect(clip);
    const size_t firstGlyph = store->glyphs.size();
    GlyphKey key;
    key.matrix[0] = static_cast<float>(d.xx), key.matrix[1] = static_cast<float>(d.yx);
    key.matrix[2] = static_cast<float>(d.xy), key.matrix[3] = static_cast<float>(d.yy);
    key.strokeWidth = op.kind == DrawOp::Kind::Stroke ? op.strokeWidth : 0;
    key.fillMode = static_cast<uint8_t>(op.geometry->Data().fillMode);
    int top = INT32_MAX, bottom = INT32_MIN;
    size_t made = 0;
    for (const GlyphOutline& glyph : *op.geometry->Data().glyphs) {
        if (glyph.figureCount == 0)
            continue;
        const PointD origin = Map(d, glyph.origin);
        if (!std::isfinite(origin.x) || !std::isfinite(origin.y) ||
            std::fabs(origin.x) > 1e7 || std::fabs(origin.y) > 1e7) {
            store->glyphs.resize(firstGlyph);
            return false;  // drawn as a path, which clips what is far away
        }
        // The pixel the origin falls in and the nearest step within it, along each axis.
        const auto place = [](double v, int steps, int* pixel, uint8_t* sub) {
            const double whole = std::floor(v);
            const int step = static_cast<int>((v - whole) * steps + 0.5);
            *pixel = static_cast<int>(whole) + step / steps;
            *sub = static_cast<uint8_t>(step % steps);
        };
        int px, py;
        place(origin.x, GlyphCache::kSubpixel, &px, &key.subX);
        place(origin.y, GlyphCache::kSubpixel, &py, &key.subY);
        key.shape = glyph.shape;
        const GlyphMask* mask = cache->masks.Find(key, [&](GlyphMask* m) {
            ++made;
            GlyphKey outline = key;
            outline.subX = outline.subY = 0;
            const GlyphEdges* edges = cache->edges.Find(
                outline, [&](GlyphEdges* e) { return MakeEdges(op, glyph, e); });
            return edges && MakeMask(*edges, key, op, m);
        });
        if (!mask) {
            store->glyphs.resize(firstGlyph);
            return false;
        }
        const PlacedGlyph placed{px + mask->left, py + mask->top,
                                 static_cast<uint16_t>(mask->width),
                                 static_cast<uint16_t>(mask->height), mask->alphas.get()};
        if (placed.width == 0 || placed.x >= area.right || placed.y >= area.bottom ||
            placed.x + placed.width <= area.left || placed.y + placed.height <= area.top)
            continue;
        store->glyphs.push_back(placed);
        top = std::min(top, placed.y);
        bottom = std::max(bottom, placed.y + placed.height);
    }
    cover->store = store;
    cover->firstGlyph = static_cast<uint32_t>(firstGlyph);
    cover->glyphCount = static_cast<uint32_t>(store->glyphs.size() - firstGlyph);
    cache->glyphsDrawn += cover->glyphCount;
    cache->masksMade += made;
    if (cover->glyphCount) {
        cover->top = std::max(top, area.top);
        cover->bottom = std::min(bottom, area.bottom);
    }
    return true;
}

bool CoverBuilder::MakeEdges(const DrawOp& op, const GlyphOutline& glyph, GlyphEdges* out) {
    // The glyph about its origin, on the grid its shape digest is taken on: every glyph with
    // this digest makes these very edges, whichever of them (and whichever thread) comes
    // first.
    const PathData& data = op.geometry->Data();
    m_Glyph.figures.assign(data.figures.begin() + glyph.firstFigure,
                           data.figures.begin() + glyph.firstFigure + glyph.figureCount);
    const auto snap = [&glyph](Point2F& p) {
        p.x = static_cast<float>(std::round((p.x - glyph.origin.x) * 1024.0) / 1024.0);
        p.y = static_cast<float>(std::round((p.y - glyph.origin.y) * 1024.0) / 1024.0);
    };
    for (PathFigure& f : m_Glyph.figures) {
        snap(f.start);
        for (PathFigure::Segment& s : f.segments) {
            snap(s.p1);
            snap(s.p2);
            snap(s.p3);
        }
    }
    cairo_matrix_t at = op.device;
    at.x0 = at.y0 = 0;
    m_Edges.Reset({-kGlyphArea, -kGlyphArea, kGlyphArea, kGlyphArea});
    Edges(op, m_Glyph, at, 0, UINT32_MAX);
    if (m_Edges.Left() < -kGlyphArea / 2 || m_Edges.Right() > kGlyphArea / 2 ||
        m_Edges.Top() < -kGlyphArea / 2 || m_Edges.Bottom() > kGlyphArea / 2)
        return false;  // far too large to keep as masks
    out->edges = m_Edges.Edges();
    return true;
}

bool CoverBuilder::MakeMask(const GlyphEdges& edges, const GlyphKey& key, const DrawOp& op,
                            GlyphMask* mask) {
    const float dx = key.subX / float(GlyphCache::kSubpixel);
    const float dy = key.subY / float(GlyphCache::kSubpixel);
    m_Edges.Reset({-kGlyphArea, -kGlyphArea, kGlyphArea, kGlyphArea});
    for (const Edge& e : edges.edges) m_Edges.Line(e.x0 + dx, e.y0 + dy, e.x1 + dx, e.y1 + dy);
    const FillMode rule =
        op.kind == DrawOp::Kind::Fill ? op.geometry->Data().fillMode : FillMode::Winding;
    m_GlyphStore.Clear();
    const Cover c = m_Converter.Convert(m_Edges, rule, &m_GlyphStore);

    if (c.Empty())
        return true;  // nothing to draw, e.g. a stroke of width 0
    // Each row's covered pixels, in whichever form the converter gave them.
    const auto eachRun = [&c](int y, auto&& run) {
        if (c.dense) {
            const MaskRow r = c.MaskRange(y);
            if (r.end > r.begin)
                run(c.maskLeft + r.begin, r.end - r.begin, c.MaskRowAt(y) + r.begin, 0);
            return;
        }
        for (const CoverSpan* s = c.RowBegin(y); s != c.RowEnd(y); ++s)
            run(s->x, s->len, s->varying ? c.Alphas(*s) : nullptr, s->alpha);
    };
    int left = INT32_MAX, right = INT32_MIN;
    for (int y = c.top; y < c.bottom; ++y)
        eachRun(y, [&](int x, int n, const uint8_t*, uint8_t) {
            left = std::min(left, x);
            right = std::max(right, x + n);
        });
    if (right <= left)
        return true;
    if (right - left > GlyphCache::kMaxSide || c.bottom - c.top > GlyphCache::kMaxSide)
        return false;
    mask->left = left;
    mask->top = c.top;
    mask->width = (right - left + 3) / 4 * 4;  // whole groups of four for the blending
    mask->height = c.bottom - c.top;
    mask->alphas.reset(new uint8_t[static_cast<size_t>(mask->width) * mask->height]());
    for (int y = c.top; y < c.bottom; ++y) {
        uint8_t* row = mask->alphas.get() + static_cast<size_t>(y - c.top) * mask->width - left;
        eachRun(y, [row](int x, int n, const uint8_t* alphas, uint8_t alpha) {
            if (alphas)
                std::memcpy(row + x, alphas, n);
            else
                std::memset(row + x, alpha, n);
        });
    }
    return true;
}

}  // namespace Gfx
