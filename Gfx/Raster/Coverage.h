#pragma once
#include <cstdint>
#include <vector>

namespace Gfx {

// A run of pixels of one row with the share of each that a shape covers (0..255): one value
// for the whole run, or one per pixel.
struct CoverSpan {
    int32_t x;
    uint16_t len;
    uint8_t alpha;    // the run's coverage, when not varying
    uint8_t varying;  // 1: per-pixel coverage at alphas[offset..offset+len)
    uint32_t offset;
};

// A glyph's coverage placed on the target: width x height values, row after row, with the
// first at pixel (x, y). The values live in the glyph cache or in the store.
struct PlacedGlyph {
    int32_t x, y;
    uint16_t width, height;
    const uint8_t* mask;
};

// Where the coverage of many shapes is kept for one frame: spans row by row, and the
// per-pixel values of varying spans. Cleared, not freed, between frames.
struct CoverStore {
    std::vector<CoverSpan> spans;
    std::vector<uint8_t> alphas;
    std::vector<uint32_t> rowStarts;  // per row of each shape: its first span
    std::vector<PlacedGlyph> glyphs;

    void Clear() {
        spans.clear();
        alphas.clear();
        rowStarts.clear();
        glyphs.clear();
    }
};

// The coverage of one shape: rows top..bottom-1, row y's spans from
// store->spans[store->rowStarts[firstRow + y - top]] up to the next row's first span; or,
// for text, glyphCount glyphs from store->glyphs[firstGlyph].
struct Cover {
    const CoverStore* store = nullptr;
    int top = 0, bottom = 0;
    uint32_t firstRow = 0;
    uint32_t firstGlyph = 0, glyphCount = 0;

    bool Empty() const { return bottom <= top; }
    const CoverSpan* RowBegin(int y) const {
        return store->spans.data() + store->rowStarts[firstRow + (y - top)];
    }
    const CoverSpan* RowEnd(int y) const {
        return store->spans.data() + store->rowStarts[firstRow + (y - top) + 1];
    }
    const uint8_t* Alphas(const CoverSpan& s) const { return store->alphas.data() + s.offset; }
};

}  // namespace Gfx
