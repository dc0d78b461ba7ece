#pragma once
// Premultiplied BGRA pixels composited with "over", rounded exactly as the image library
// behind Cairo rounds (x * a / 255 as (t + (t >> 8)) >> 8 with t = x * a + 128, sums
// saturated), so a fully covered pixel comes out as it always did.
#include <cstddef>
#include <cstdint>

namespace Gfx {
namespace Blend {

// Every channel of c times a / 255.
inline uint32_t Scale(uint32_t c, uint32_t a) {
    uint32_t rb = (c & 0xff00ffu) * a + 0x800080u;
    rb = ((rb + ((rb >> 8) & 0xff00ffu)) >> 8) & 0xff00ffu;
    uint32_t ag = ((c >> 8) & 0xff00ffu) * a + 0x800080u;
    ag = (ag + ((ag >> 8) & 0xff00ffu)) & 0xff00ff00u;
    return rb | ag;
}

// Channel by channel, saturated at 255.
inline uint32_t AddSaturated(uint32_t a, uint32_t b) {
    uint32_t rb = (a & 0xff00ffu) + (b & 0xff00ffu);
    rb |= 0x1000100u - ((rb >> 8) & 0x10001u);
    uint32_t ag = ((a >> 8) & 0xff00ffu) + ((b >> 8) & 0xff00ffu);
    ag |= 0x1000100u - ((ag >> 8) & 0x10001u);
    return (rb & 0xff00ffu) | ((ag & 0xff00ffu) << 8);
}

inline uint32_t Over(uint32_t src, uint32_t dst) {
    return AddSaturated(src, Scale(dst, 255 - (src >> 24)));
}

// Rows of n pixels. Solid: one source colour; Row: a source row. A single coverage for all
// pixels, or one per pixel (mask).
void SolidSpan(uint32_t* dst, int n, uint32_t color, uint32_t coverage);
void SolidMask(uint32_t* dst, int n, uint32_t color, const uint8_t* mask);
void RowSpan(uint32_t* dst, const uint32_t* src, int n, uint32_t coverage, bool opaque);
void RowMask(uint32_t* dst, const uint32_t* src, int n, const uint8_t* mask);
// SolidMask through the coverage Lerp gives between masks a and b.
void SolidMaskMix(uint32_t* dst, int n, uint32_t color, const uint8_t* a, const uint8_t* b,
                  int weight);
// out = a + (b - a) * weight / 128, value by value, rounded; weight 0..127.
void Lerp(uint8_t* out, const uint8_t* a, const uint8_t* b, int n, int weight);
// A solid colour through a mask of width x height values (maskStride apart) onto rows of
// pixels stride bytes apart: a glyph, in one call.
void SolidMaskRect(uint32_t* dst, ptrdiff_t stride, int width, int height, uint32_t color,
                   const uint8_t* mask, int maskStride);

}  // namespace Blend
}  // namespace Gfx
