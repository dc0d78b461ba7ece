#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "Gfx/ImageDecoder.h"

namespace Gfx {

// Packed rows of one decoded frame.
struct DecodedImage {
    uint32_t width = 0;
    uint32_t height = 0;
    std::vector<uint8_t> pixels;
};

// Both return kBadImageHeader for anything that is not a complete, valid file within the
// limits, and kUnsupportedImage for a valid file whose pixels cannot become BGR(A).
Result DecodePng(const uint8_t* data, size_t size, const DecodeLimits& limits,
                 DecodedImage* out);  // 4 bytes: blue, green, red, straight alpha
Result DecodeJpeg(const uint8_t* data, size_t size, const DecodeLimits& limits,
                  DecodedImage* out);  // 3 bytes: blue, green, red

bool WithinLimits(uint32_t width, uint32_t height, const DecodeLimits& limits);

}  // namespace Gfx
