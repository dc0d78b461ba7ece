#pragma once
#include <cairo.h>

#include <cstdint>
#include <memory>
#include <unordered_map>
#include <vector>

#include "Gfx/Raster/DrawOp.h"
#include "Gfx/Raster/OpPainter.h"
#include "Gfx/RasterOptions.h"
#include "Gfx/Raster/RasterPool.h"

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
        size_t Bytes() const;
    };
    struct Item {
        const DrawOp* op = nullptr;
        Layer* layer = nullptr;
        bool drawsLayer = false;  // the first use of a layer not drawn yet
    };

    void MakeBands();
    void Plan(const std::vector<DrawOp>& ops);
    Layer* LayerFor(const DrawOp* first, size_t count);
    bool Evict(size_t needed);
    void DrawItems();
    void DrawBand(Band& band, size_t begin, size_t end);
    void DrawLayerSlice(Band& band, Layer& layer, bool drawsLayer);

    cairo_surface_t* m_Target;
    RasterOptions m_Options;
    PixelRect m_Whole;
    std::unique_ptr<RasterPool> m_Pool;
    std::vector<Band> m_Bands;
    cairo_t* m_WholeCr = nullptr;  // on all of the target, for operations drawn whole
    std::unique_ptr<OpPainter> m_WholePainter;
    std::vector<Item> m_Items;
    std::vector<DrawOp> m_Last;  // the last whole frame drawn, kept alive for comparison
    bool m_TargetHoldsLast = false;
    std::unordered_multimap<size_t, std::unique_ptr<Layer>> m_Layers;  // by the run's hash
    size_t m_LayerBytes = 0;
    unsigned long m_Frame = 0;
    Stats m_Stats;
};

}  // namespace Gfx
