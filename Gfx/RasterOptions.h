#pragma once
#include <cstddef>

namespace Gfx {

// How a render target turns drawing calls into pixels. The defaults are the fastest; the
// others exist to measure each part alone and to check them against one another.
struct RasterOptions {
    // Record the frame and draw it at EndDraw. Off: every call draws at once on one thread,
    // with Cairo's own gradients (the reference the other modes are checked against).
    bool record = true;
    unsigned threads = 0;       // raster threads when recording; 0: one per core
    bool reuse = true;          // keep what did not change since the last frame
    bool fastGradients = true;  // our own gradient spans instead of Cairo's
    // Smoothed fills and strokes covered by our own scan converter and stroker (exact area
    // coverage) instead of Cairo's; also when drawing at once.
    bool ownEdges = true;
    // Text moved or repainted without turning is drawn from glyph coverage kept between
    // frames (needs ownEdges and recording).
    bool glyphCache = true;
};

// What the last EndDraw did, for benchmarks and tests.
struct RasterStats {
    bool frameReused = false;           // the frame equalled the last one and was not drawn
    size_t opsDrawn = 0;                // operations drawn directly
    size_t opsFromLayers = 0;           // operations that came from cached layers
    size_t layersMade = 0;              // layers drawn this frame
    size_t layers = 0, layerBytes = 0;  // the cache after the frame
    size_t opsCovered = 0;              // operations whose edges were covered up front
    size_t glyphsDrawn = 0;             // glyphs drawn from the glyph cache
    size_t glyphMasksMade = 0;          // of them, the masks made this frame
    size_t glyphBytes = 0;              // the glyph cache after the frame
    // Milliseconds of EndDraw spent covering edges (all threads at once, wall time) and
    // painting (bands, layers and the rest of drawing).
    double coverMs = 0, paintMs = 0;
};

}  // namespace Gfx
