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

bool CoverBuilder::Covers(const DrawOp& op) {
    return (op.kind == DrawOp::Kind::Fill || op.kind == DrawOp::Kind::Stroke) &&
           op.antialias != CAIRO_ANTIALIAS_NONE;
}

Cover CoverBuilder::Build(const DrawOp& op, const PixelRect& clip, CoverStore* store,
                          GlyphCache* glyphs) {
    Cover cover;
    // Only fills: the outlines of neighbouring glyphs overlap, and a stroke covered glyph by
    // glyph would count the overlap twice where the whole outline covers it once.
    if (glyphs && op.kind == DrawOp::Kind::Fill && op.geometry->Data().glyphs &&
        BuildGlyphs(op, clip, store, glyphs, &cover))
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
        if (!std::isfinite(origin.x) || !std::isfinite(origin.y) || std::fabs(origin.x) > 1e7 ||
            std::fabs(origin.y) > 1e7) {
            store->glyphs.resize(firstGlyph);
            return false;  // drawn as a path, which clips what is far away
        }
        // Across: the pixel the origin falls in and the nearest step within it. Down: the
        // step at or above it and how far towards the next, in 128ths.
        const double wholeX = std::floor(origin.x);
        const int stepX = static_cast<int>((origin.x - wholeX) * GlyphCache::kSubpixelX + 0.5);
        const int px = static_cast<int>(wholeX) + stepX / GlyphCache::kSubpixelX;
        key.subX = static_cast<uint8_t>(stepX % GlyphCache::kSubpixelX);
        const double wholeY = std::floor(origin.y);
        const double down = (origin.y - wholeY) * GlyphCache::kSubpixelY;
        const int stepY = static_cast<int>(down);
        const int weight = static_cast<int>((down - stepY) * 128 + 0.5);
        const int py = static_cast<int>(wholeY);
        key.shape = glyph.shape;
        const auto find = [&](int sub) {
            key.subY = static_cast<uint8_t>(sub);
            return cache->masks.Find(key, [&](GlyphMask* m) {
                ++made;
                GlyphKey outline = key;
                outline.subX = outline.subY = 0;
                const GlyphEdges* edges = cache->edges.Find(
                    outline, [&](GlyphEdges* e) { return MakeEdges(op, glyph, e); });
                return edges && MakeMask(*edges, key, op, m);
            });
        };
        // A weight of 128 is the next step itself.
        const GlyphMask* mask = find(weight == 128 ? stepY + 1 : stepY);
        const GlyphMask* next = weight % 128 ? find(stepY + 1) : nullptr;
        if (!mask || (weight % 128 && !next)) {
            store->glyphs.resize(firstGlyph);
            return false;
        }
        const PlacedGlyph placed{px + mask->left,
                                 py + mask->top,
                                 static_cast<uint16_t>(mask->width),
                                 static_cast<uint16_t>(mask->height),
                                 mask->alphas.get(),
                                 next ? next->alphas.get() : nullptr,
                                 next ? weight : 0};
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
    if (m_Edges.Empty())
        return true;  // nothing to draw, e.g. a stroke of width 0
    out->left = static_cast<int>(std::floor(m_Edges.Left()));
    out->top = static_cast<int>(std::floor(m_Edges.Top()));
    // The converter may write the cell after the last edge (balancing the row to zero).
    out->right = static_cast<int>(std::ceil(m_Edges.Right())) + 2;
    out->bottom = static_cast<int>(std::ceil(m_Edges.Bottom())) + 1;
    out->right = out->left + (out->right - out->left + 3) / 4 * 4;  // whole groups of four
    if (out->right - out->left > GlyphCache::kMaxSide ||
        out->bottom - out->top > GlyphCache::kMaxSide)
        return false;  // too large to keep as masks: drawn as a path
    out->edges = m_Edges.Edges();
    return true;
}

bool CoverBuilder::MakeMask(const GlyphEdges& edges, const GlyphKey& key, const DrawOp& op,
                            GlyphMask* mask) {
    if (edges.edges.empty())
        return true;
    const float dx = key.subX / float(GlyphCache::kSubpixelX);
    const float dy = key.subY / float(GlyphCache::kSubpixelY);
    m_Edges.Reset({edges.left, edges.top, edges.right, edges.bottom});
    for (const Edge& e : edges.edges) m_Edges.Line(e.x0 + dx, e.y0 + dy, e.x1 + dx, e.y1 + dy);
    const FillMode rule =
        op.kind == DrawOp::Kind::Fill ? op.geometry->Data().fillMode : FillMode::Winding;
    m_GlyphStore.Clear();
    const Cover c = m_Converter.Convert(m_Edges, rule, &m_GlyphStore);
    mask->left = edges.left;
    mask->top = edges.top;
    mask->width = edges.right - edges.left;
    mask->height = edges.bottom - edges.top;
    mask->alphas.reset(new uint8_t[static_cast<size_t>(mask->width) * mask->height]());
    // Runs are kept within the box, whatever the converter hands back.
    const auto copy = [&](uint8_t* row, int x, int n, const uint8_t* alphas, uint8_t alpha) {
        const int from = std::max(x, edges.left), to = std::min(x + n, edges.right);
        if (to <= from)
            return;
        if (alphas)
            std::memcpy(row + from, alphas + (from - x), to - from);
        else
            std::memset(row + from, alpha, to - from);
    };
    for (int y = std::max(c.top, edges.top); y < std::min(c.bottom, edges.bottom); ++y) {
        uint8_t* row =
            mask->alphas.get() + static_cast<size_t>(y - edges.top) * mask->width - edges.left;
        if (c.dense) {
            const MaskRow r = c.MaskRange(y);
            copy(row, c.maskLeft + r.begin, r.end - r.begin, c.MaskRowAt(y) + r.begin, 0);
            continue;
        }
        for (const CoverSpan* s = c.RowBegin(y); s != c.RowEnd(y); ++s)
            copy(row, s->x, s->len, s->varying ? c.Alphas(*s) : nullptr, s->alpha);
    }
    return true;
}

}  // namespace Gfx
