#pragma once
#include <cairo.h>

#include <cstdint>
#include <unordered_map>
#include <vector>

#include "Gfx/Raster/CoverBuilder.h"
#include "Gfx/Raster/CoverPainter.h"
#include "Gfx/Raster/DrawOp.h"

namespace Gfx {

// Paints recorded operations onto the pixels of one Cairo context: smoothed fills and
// strokes through coverage of our own, everything else with the same Cairo calls a direct
// draw makes. One painter per context: it keeps a little per-frame state (image wrappers,
// gradient rows, coverage) that must not be shared between threads.
class OpPainter {
  public:
    // shareImages: images are drawn through wrappers of their own over the same pixels, so
    // that several painters can read one image at once (Cairo's surfaces count references
    // without locks). fastGradients: gradients come from GradientPaint spans. tiled: see
    // kTileRows. ownEdges: smoothed edges are covered by our scan converter, not Cairo's.
    OpPainter(bool shareImages, bool fastGradients, bool tiled, bool ownEdges)
        : m_ShareImages(shareImages),
          m_FastGradients(fastGradients),
          m_Tiled(tiled),
          m_OwnEdges(ownEdges) {}

    // Cairo works out scaled images and its own gradients by stepping from the first row it
    // composites, so the last bit of a pixel depends on where a clip starts. A tiled painter
    // draws such operations in fixed tiles of this many rows of the target, so that bands
    // made of whole tiles give exactly the pixels of one context.
    static constexpr int kTileRows = 64;
    bool DependsOnClip(const DrawOp& op) const;
    // Even tiles move a pixel on a hard gradient stop from one colour to the other, so an
    // operation painted with one is drawn whole, on a context over the whole target.
    static bool DrawnWhole(const DrawOp& op);
    ~OpPainter();
    OpPainter(const OpPainter&) = delete;
    OpPainter& operator=(const OpPainter&) = delete;

    // Whether op's edges are covered by CoverBuilder (so a frame may cover them up front).
    bool CoversEdges(const DrawOp& op) const { return m_OwnEdges && CoverBuilder::Covers(op); }
    // clip: the device pixels this context covers; pixels: the same pixels as cr's target.
    // cover: op's coverage when it was worked out before, else null.
    void Paint(cairo_t* cr, const PixelTarget& pixels, const DrawOp& op, const PixelRect& clip,
               const Cover* cover = nullptr);
    // Forgets the images of the frame; they may be freed afterwards.
    void EndFrame();

  private:
    bool UsesSpans(const Gfx::Paint& paint) const;
    void PaintOnce(cairo_t* cr, const PixelTarget& pixels, const DrawOp& op, const PixelRect& clip,
                   const Cover* cover);
    // cover when given (worked out before the bands), else op's coverage within clip.
    Cover CoverOf(const DrawOp& op, const PixelRect& clip, const Cover* cover);
    void PaintCover(const PixelTarget& pixels, const DrawOp& op, const PixelRect& clip,
                    const Cover* cover);
    void Clear(cairo_t* cr, const DrawOp& op);
    void FillOrStroke(cairo_t* cr, const DrawOp& op, const PixelRect& clip);
    void Mask(cairo_t* cr, const DrawOp& op);
    void Image(cairo_t* cr, const DrawOp& op);
    // Makes op's paint the source under op's device matrix; false when nothing would show.
    bool SetSource(cairo_t* cr, const DrawOp& op, const PixelRect& clip);
    cairo_surface_t* SurfaceOf(const Bitmap& bitmap);

    bool m_ShareImages;
    bool m_FastGradients;
    bool m_Tiled;
    bool m_OwnEdges;
    CoverBuilder m_Builder;  // for operations whose coverage was not worked out before
    CoverStore m_Store;
    CoverPainter m_CoverPainter;
    std::unordered_map<const Bitmap*, cairo_surface_t*> m_Wrappers;
    std::vector<uint32_t> m_Rows;  // gradient colours of the pixels being filled
};

}  // namespace Gfx
