#pragma once
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "Gfx/Raster/EdgeList.h"
#include "Gfx/Raster/LruCache.h"

namespace Gfx {

// How a glyph is drawn: its shape, filled by a rule or stroked at a width in its own
// space, under the device matrix without its translation; for a mask also where the origin
// falls inside its pixel, in steps of 1/kSubpixel.
struct GlyphKey {
    uint64_t shape = 0;
    float matrix[4] = {};   // xx yx xy yy
    float strokeWidth = 0;  // 0: filled
    uint8_t fillMode = 0;
    uint8_t subX = 0, subY = 0;

    bool operator==(const GlyphKey& o) const;
    size_t Hash() const;
    struct Hasher {
        size_t operator()(const GlyphKey& k) const { return k.Hash(); }
    };
};

// A glyph's coverage at one sub-pixel position: width x height values, row after row, the
// first at (left, top) from the pixel the origin falls in.
struct GlyphMask {
    int left = 0, top = 0;
    int width = 0, height = 0;
    std::unique_ptr<uint8_t[]> alphas;

    size_t Bytes() const { return static_cast<size_t>(width) * height; }
};

// A glyph's edges in device pixels about its origin, before any sub-pixel offset: every
// mask of the glyph is made from them, so the curves are flattened (or the outline stroked)
// once per glyph and size.
struct GlyphEdges {
    std::vector<Edge> edges;

    size_t Bytes() const { return edges.size() * sizeof(Edge); }
};

// Glyph coverage kept from frame to frame, so that text that only moves is drawn from masks
// instead of being scan converted again, and the edges the masks are made from. Masks are
// kept at 1/kSubpixel pixel steps along each axis, so an edge lands within 1/64 pixel of
// where it is: coarser steps measurably move text edges further from exact coverage than
// Cairo's own sampling does.
struct GlyphCache {
    static constexpr int kSubpixel = 32;
    static constexpr int kMaxSide = 256;  // pixels; larger glyphs are drawn as paths

    // budget: bytes of masks; the edges they are made from get an eighth more.
    explicit GlyphCache(size_t budget) : masks(budget), edges(budget / 8) {}
    void BeginFrame() {
        masks.BeginFrame();
        edges.BeginFrame();
        glyphsDrawn = 0;
        masksMade = 0;
    }

    LruCache<GlyphKey, GlyphMask, GlyphKey::Hasher> masks;
    LruCache<GlyphKey, GlyphEdges, GlyphKey::Hasher> edges;
    std::atomic<size_t> glyphsDrawn{0}, masksMade{0};  // this frame, for the statistics
};

}  // namespace Gfx
