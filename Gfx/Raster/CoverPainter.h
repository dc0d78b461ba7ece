#pragma once
#include <cairo.h>

#include <cstdint>
#include <vector>

#include "Gfx/Raster/Coverage.h"
#include "Gfx/Raster/DrawOp.h"

namespace Gfx {

// Rows of premultiplied BGRA pixels; pixel (left, top) is the first of pixels.
struct PixelTarget {
    uint8_t* pixels = nullptr;
    int stride = 0;
    int left = 0, top = 0;

    uint32_t* At(int x, int y) const {
        return reinterpret_cast<uint32_t*>(pixels + static_cast<ptrdiff_t>(y - top) * stride) +
               (x - left);
    }
};

// The premultiplied pixel of a straight colour, rounded as Cairo hands colours to its image
// library (16 bits a channel, then the top 8).
uint32_t PremultipliedColor(double r, double g, double b, double a);

// Paints a paint through a shape's coverage: solid colours and gradient spans directly,
// other gradients from colours Cairo works out for the area first.
class CoverPainter {
  public:
    // Paints the rows and columns of cover within clip and bounds (where it may reach).
    // gradientSpans: gradients that have spans take their colours from them.
    void Fill(const Cover& cover, const Paint& paint, const cairo_matrix_t& device,
              const PixelRect& bounds, const PixelTarget& target, const PixelRect& clip,
              bool gradientSpans);

  private:
    void FillSolid(const Cover& cover, uint32_t color, const PixelTarget& target,
                   const PixelRect& rows);
    // Every row of cover within rows is at most one span, fully covered.
    static bool WholeRows(const Cover& cover, const PixelRect& rows);
    template <typename RowColors>
    void FillRows(const Cover& cover, RowColors&& colors, bool opaque, const PixelTarget& target,
                  const PixelRect& rows);
    // Text in a solid colour, glyph by glyph.
    void FillGlyphs(const Cover& cover, uint32_t color, const PixelTarget& target,
                    const PixelRect& rows);
    // n values of a placed glyph from value at, mixed from its two masks when it has two.
    const uint8_t* Mixed(const PlacedGlyph& g, size_t at, int n);
    // Dense masks and glyphs; blend(y, x, n, mask, dst) paints n pixels of row y.
    template <typename BlendRow>
    void FillMasks(const Cover& cover, const PixelTarget& target, const PixelRect& rows,
                   BlendRow&& blend);
    // The gradient's colours over area, by Cairo, into m_Block.
    bool CairoColors(const Paint& paint, const cairo_matrix_t& device, const PixelRect& area);

    std::vector<uint32_t> m_Row;
    std::vector<uint32_t> m_Block;
    std::vector<uint8_t> m_Mixed;
};

}  // namespace Gfx
