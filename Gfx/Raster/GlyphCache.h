#pragma once
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "Gfx/Raster/EdgeList.h"
#include "Gfx/Raster/LruCache.h"

namespace Gfx {

// How a glyph is drawn: its shape, filled by a rule (strokeWidth 0; stroked text is covered
// as a whole), under the device matrix without its translation; for a mask also where the
// origin falls inside its pixel, in steps of 1/kSubpixelX across and 1/kSubpixelY down.
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
// first at (left, top) from the pixel the origin falls in. Every mask of a glyph has the
// box of its edges at all positions within the pixel, so any two line up value for value.
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
    // The pixels the edges can touch moved by anything from 0 to 1 pixel along each axis:
    // left, top inclusive, right, bottom exclusive (right rounded up to whole fours).
    int left = 0, top = 0, right = 0, bottom = 0;

    size_t Bytes() const { return edges.size() * sizeof(Edge); }
};

// Glyph coverage kept from frame to frame, so that text that only moves is drawn from masks
// instead of being scan converted again, and the edges the masks are made from. Across,
// masks are kept at 1/kSubpixelX pixel steps, so an edge lands within 1/64 pixel of where it
// is (coarser steps measurably move text edges further from exact coverage than Cairo's own
// sampling does). Down, they are kept at 1/kSubpixelY steps, 0 to kSubpixelY inclusive, and
// a glyph between two steps is drawn from both mixed in proportion: the lines of a text share
// one position down, so every step down needs all the masks of the text, and fewer steps
// fill the cache in a few frames.
struct GlyphCache {
    static constexpr int kSubpixelX = 32;
    static constexpr int kSubpixelY = 8;
    static constexpr int kMaxSide = 256;  // pixels; larger glyphs are drawn as paths

    // budget: bytes of masks; the edges they are made from get an eighth more.
    explicit GlyphCache(size_t budget) : masks(budget), edges(budget / 8) {}
    void BeginFrame() {
        masks.BeginFrame();
        edges.BeginFrame();
        glyphsDrawn = 0;
        masksMade = 0;
    }

    ShardedLruCache<GlyphKey, GlyphMask, GlyphKey::Hasher> masks;
    ShardedLruCache<GlyphKey, GlyphEdges, GlyphKey::Hasher> edges;
    std::atomic<size_t> glyphsDrawn{0}, masksMade{0};  // this frame, for the statistics
};

}  // namespace Gfx
