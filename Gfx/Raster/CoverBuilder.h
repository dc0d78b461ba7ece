#pragma once
#include "Gfx/Raster/Coverage.h"
#include "Gfx/Raster/DrawOp.h"
#include "Gfx/Raster/EdgeList.h"
#include "Gfx/Raster/GlyphCache.h"
#include "Gfx/Raster/ScanConverter.h"
#include "Gfx/Raster/Stroker.h"

namespace Gfx {

// The coverage of a smoothed fill or stroke: flattened or widened into edges, then scan
// converted; text glyph by glyph from a glyph cache when one is given. Keeps its working
// memory from one shape to the next; one per thread.
class CoverBuilder {
  public:
    // True for the operations whose edges we cover ourselves: smoothed fills and strokes.
    // Images stay with Cairo, whose bilinear sampling measured faster than ours.
    static bool Covers(const DrawOp& op);
    // Coverage of op within clip, appended to store.
    Cover Build(const DrawOp& op, const PixelRect& clip, CoverStore* store,
                GlyphCache* glyphs = nullptr);

  private:
    // Text from cached glyph masks; false (store untouched) when some glyph cannot be kept.
    bool BuildGlyphs(const DrawOp& op, const PixelRect& clip, CoverStore* store, GlyphCache* cache,
                     Cover* cover);
    bool MakeEdges(const DrawOp& op, const GlyphOutline& glyph, GlyphEdges* out);
    bool MakeMask(const GlyphEdges& edges, const GlyphKey& key, const DrawOp& op, GlyphMask* mask);
    void Edges(const DrawOp& op, const PathData& data, const cairo_matrix_t& device, uint32_t first,
               uint32_t count);

    EdgeList m_Edges;
    ScanConverter m_Converter;
    Stroker m_Stroker;
    CoverStore m_GlyphStore;  // one glyph's coverage while it becomes a mask
    PathData m_Glyph;         // one glyph's figures about its origin
};

}  // namespace Gfx
