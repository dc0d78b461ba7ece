#pragma once
#include <cairo.h>

#include <cstdint>
#include <unordered_map>
#include <vector>

#include "Gfx/Raster/DrawOp.h"

namespace Gfx {

// Paints recorded operations onto one Cairo context with the same calls a direct draw
// makes. One painter per context: it keeps a little per-frame state (image wrappers and
// gradient rows) that must not be shared between threads.
class OpPainter {
  public:
    // shareImages: images are drawn through wrappers of their own over the same pixels, so
    // that several painters can read one image at once (Cairo's surfaces count references
    // without locks). fastGradients: gradients come from GradientPaint spans. tiled: see
    // kTileRows.
    OpPainter(bool shareImages, bool fastGradients, bool tiled)
        : m_ShareImages(shareImages), m_FastGradients(fastGradients), m_Tiled(tiled) {}

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

    // clip: the device pixels this context covers.
    void Paint(cairo_t* cr, const DrawOp& op, const PixelRect& clip);
    // Forgets the images of the frame; they may be freed afterwards.
    void EndFrame();

  private:
    bool UsesSpans(const Gfx::Paint& paint) const;
    void PaintOnce(cairo_t* cr, const DrawOp& op, const PixelRect& clip);
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
    std::unordered_map<const Bitmap*, cairo_surface_t*> m_Wrappers;
    std::vector<uint32_t> m_Rows;  // gradient colours of the pixels being filled
};

}  // namespace Gfx
