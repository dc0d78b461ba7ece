#pragma once
#include <cairo.h>

#include <cstdint>
#include <memory>
#include <unordered_map>
#include <vector>

#include "Gfx/Raster/CoverPainter.h"
#include "Gfx/Raster/Coverage.h"
#include "Gfx/Raster/DrawOp.h"
#include "Gfx/Raster/GlyphCache.h"
#include "Gfx/Raster/OpPainter.h"
#include "Gfx/Raster/RasterPool.h"
#include "Gfx/RasterOptions.h"

namespace Gfx {

// Draws recorded frames onto a target surface: split into bands of rows drawn on a pool
// of threads, each band through its own Cairo context (whole-pixel device offsets keep
// every pixel what one context would make), and reusing what did not change. A frame equal
// to the last one is not drawn at all; a run of operations that was also in the last frame
// is drawn once into a layer and composited from then on.
class FrameRasterizer {
  public:
    // target: an ARGB32 image surface that outlives this object.
    FrameRasterizer(cairo_surface_t* target, const RasterOptions& options);
    ~FrameRasterizer();
    FrameRasterizer(const FrameRasterizer&) = delete;
    FrameRasterizer& operator=(const FrameRasterizer&) = delete;

    // wholeFrame: ops are everything drawn since BeginDraw, so they may be compared with
    // the last frame. False when Cairo failed in some band.
    bool Draw(std::vector<DrawOp> ops, bool wholeFrame);
    // The target's pixels changed behind our back: nothing of the last frame can be reused.
    void Forget();

    using Stats = RasterStats;
    const Stats& LastStats() const { return m_Stats; }
    static constexpr size_t kLayerBudget = size_t{64} << 20;  // bytes of layers per target
    static constexpr size_t kGlyphBudget = size_t{16} << 20;  // bytes of glyph masks

  private:
    struct Band {
        PixelRect rect;
        cairo_t* cr = nullptr;  // on all of the target, clipped to rect
        std::unique_ptr<OpPainter> painter;
    };
    struct Layer {
        std::vector<DrawOp> ops;
        PixelRect rect;
        std::unique_ptr<uint32_t[]> pixels;  // premultiplied, rect-sized rows
        bool drawn = false;
        bool scheduled = false;  // drawn by this frame
        unsigned long lastUsed = 0;
        std::vector<int> covers;  // per op, its coverage in m_Covers while being drawn
        size_t Bytes() const;
    };
    struct Item {
        const DrawOp* op = nullptr;
        Layer* layer = nullptr;
        bool drawsLayer = false;  // the first use of a layer not drawn yet
        int cover = -1;           // op's coverage in m_Covers, when covered up front
    };

    void MakeBands();
    void Plan(const std::vector<DrawOp>& ops);
    Layer* LayerFor(const DrawOp* first, size_t count);
    bool Evict(size_t needed);
    // Works out the coverage of every operation drawn this frame that needs it, spread over
    // the threads, before the bands paint them in order.
    void CoverItems();
    int AddCoverOp(const DrawOp& op);
    const Cover* CoverOf(int index) const { return index >= 0 ? &m_Covers[index] : nullptr; }
    void DrawItems();
    void DrawBand(Band& band, size_t begin, size_t end);
    void DrawLayerSlice(Band& band, Layer& layer, bool drawsLayer);

    cairo_surface_t* m_Target;
    PixelTarget m_Pixels;  // the target's pixels, for painting without Cairo
    RasterOptions m_Options;
    PixelRect m_Whole;
    std::unique_ptr<RasterPool> m_Pool;
    std::vector<Band> m_Bands;
    cairo_t* m_WholeCr = nullptr;  // on all of the target, for operations drawn whole
    std::unique_ptr<OpPainter> m_WholePainter;
    std::vector<Item> m_Items;
    std::vector<const DrawOp*> m_CoverOps;
    std::vector<Cover> m_Covers;
    std::vector<CoverStore> m_Stores;      // one per piece of the covering work
    std::unique_ptr<GlyphCache> m_Glyphs;  // when the options keep glyphs
    std::vector<DrawOp> m_Last;            // the last whole frame drawn, kept alive for comparison
    bool m_TargetHoldsLast = false;
    std::unordered_multimap<size_t, std::unique_ptr<Layer>> m_Layers;  // by the run's hash
    size_t m_LayerBytes = 0;
    unsigned long m_Frame = 0;
    Stats m_Stats;
};

}  // namespace Gfx
