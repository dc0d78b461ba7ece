#pragma once
#include <cstdint>
#include <vector>

#include "Gfx/Raster/CoverPainter.h"
#include "Gfx/Raster/Coverage.h"
#include "Gfx/Raster/DrawOp.h"

namespace Gfx {

// Draws an image through its destination rectangle's coverage: each pixel's colour
// sampled bilinearly from the source rectangle (pixels outside it take the nearest edge
// pixel, as Cairo's padding does), at the pixel's centre, scaled by the opacity. Rows at
// one image pixel per device pixel are copied; rows only scaled along the axes keep one
// pair of source rows per target row.
class ImagePainter {
  public:
    // Whether op is an image this painter draws (a premultiplied colour image).
    static bool Draws(const DrawOp& op);
    void Paint(const Cover& cover, const DrawOp& op, const PixelTarget& target,
               const PixelRect& clip);

  private:
    struct Source;
    // Colours of pixels x0..x0+n-1 of row y, into out.
    void SampleRow(const Source& source, int y, int x0, int n, uint32_t* out);
    // The same for an image only scaled and moved along the axes: rows mixed once, then
    // columns.
    void SampleAligned(const Source& source, int y, int x0, int n, uint32_t* out);
    void MixRows(const uint32_t* r0, const uint32_t* r1, int wy, int from, int to);

    std::vector<uint32_t> m_Row;
    std::vector<uint16_t> m_Mixed;  // two source rows mixed, 16 bits a channel
    std::vector<uint8_t> m_Mask;    // coverage with the opacity in it
};

}  // namespace Gfx
