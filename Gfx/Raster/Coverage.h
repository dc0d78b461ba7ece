#pragma once
#include <algorithm>
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
// first at pixel (x, y); weight/128 of the way from mask to next when weight is not 0 (two
// masks of the same size). The values live in the glyph cache.
struct PlacedGlyph {
    int32_t x, y;
    uint16_t width, height;
    const uint8_t* mask;
    const uint8_t* next;
    int weight;
};

// The columns of one row of a dense mask that may be covered: begin..end-1.
struct MaskRow {
    uint16_t begin, end;
};

// Where the coverage of many shapes is kept for one frame: spans row by row, and the
// per-pixel values of varying spans. Cleared, not freed, between frames.
struct CoverStore {
    std::vector<CoverSpan> spans;
    std::vector<uint8_t> alphas;
    std::vector<uint32_t> rowStarts;  // per row of each shape: its first span
    std::vector<PlacedGlyph> glyphs;
    std::vector<MaskRow> maskRows;
    size_t alphaCount = 0;  // values of alphas in use; the vector only grows

    // Room for n more per-pixel values, at offset alphaCount before the call.
    uint8_t* AddAlphas(size_t n) {
        if (alphas.size() < alphaCount + n)
            alphas.resize(std::max(alphas.size() * 2, alphaCount + n + 4096));
        uint8_t* at = alphas.data() + alphaCount;
        alphaCount += n;
        return at;
    }
    void Clear() {
        spans.clear();
        alphaCount = 0;
        rowStarts.clear();
        glyphs.clear();
        maskRows.clear();
    }
};

// The coverage of one shape, rows top..bottom-1, in one of three forms:
// - spans: row y's from store->spans[store->rowStarts[firstRow + y - top]] up to the next
//   row's first span;
// - a dense mask (small shapes): maskWidth values a row from store->alphas[maskOffset], the
//   first for column maskLeft, of which row y's columns store->maskRows[firstRow + y - top]
//   may be covered;
// - glyphs (text): glyphCount from store->glyphs[firstGlyph].
struct Cover {
    const CoverStore* store = nullptr;
    int top = 0, bottom = 0;
    uint32_t firstRow = 0;
    uint32_t firstGlyph = 0, glyphCount = 0;
    bool dense = false;
    int maskLeft = 0, maskWidth = 0;
    size_t maskOffset = 0;

    bool Empty() const { return bottom <= top; }
    const CoverSpan* RowBegin(int y) const {
        return store->spans.data() + store->rowStarts[firstRow + (y - top)];
    }
    const CoverSpan* RowEnd(int y) const {
        return store->spans.data() + store->rowStarts[firstRow + (y - top) + 1];
    }
    const uint8_t* Alphas(const CoverSpan& s) const { return store->alphas.data() + s.offset; }
    const uint8_t* MaskRowAt(int y) const {
        return store->alphas.data() + maskOffset + static_cast<size_t>(y - top) * maskWidth;
    }
    MaskRow MaskRange(int y) const { return store->maskRows[firstRow + (y - top)]; }
};

}  // namespace Gfx
