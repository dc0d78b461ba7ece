#pragma once
#include <cstdint>
#include <vector>

#include "Raster.h"

namespace AssetGen {

// 256x256 warm radial glow; alpha falls smoothly to exactly 0 at the rim.
Raster paintGlow();
// 800x600 opaque dusk: gradient sky, striped sun, two mountain ranges.
Raster paintSunset();
// 512x512 neon perspective floor grid on transparency, fading to the horizon.
Raster paintGrid();
// 800x600 translucent starfield on transparency.
Raster paintStars();

// A 4-bit palette image with per-entry alpha.
struct PaletteImage {
    int width;
    int height;
    std::vector<Rgba> palette;
    std::vector<uint8_t> indices;  // one per pixel, row-major
};

// 128x128 round emblem: ring, striped sun over a horizon line.
PaletteImage paintBadge();

}  // namespace AssetGen
