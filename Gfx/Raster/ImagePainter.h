#pragma once
#include <cstdint>
#include <vector>

#include "Gfx/Raster/CoverPainter.h"
#include "Gfx/Raster/Coverage.h"
#include "Gfx/Raster/DrawOp.h"

namespace Gfx {

// Draws an image through its destination rectangle's coverage: each pixel's colour
// sampled bilinearly from the source rectangle (pixels outside it take the nearest edge
// pixel, as Cairo's padding does), at the pixel's centre, with Cairo's 7-bit weights,
// scaled by the opacity. Rows at one image pixel per device pixel are copied; images only
// scaled along the axes are mixed down a row first and across it then (rounded in
// between, so a channel may come out one level from Cairo's).
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
    std::vector<uint32_t> m_Mixed;  // two source rows mixed, edges repeated once
    std::vector<uint8_t> m_Mask;    // coverage with the opacity in it
};

}  // namespace Gfx
