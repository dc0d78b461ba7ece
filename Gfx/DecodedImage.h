#pragma once
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <vector>

#include "Gfx/ImageDecoder.h"

namespace Gfx {

// Packed rows of one decoded frame.
struct DecodedImage {
    uint32_t width = 0;
    uint32_t height = 0;
    std::vector<uint8_t> pixels;
};

// Both read the file from its start as they decode, so the limits are checked at the
// header before the rest is read. They return kBadImageHeader for anything that is not a
// complete, valid file within the limits, and kUnsupportedImage for a valid file whose
// pixels cannot become BGR(A).
Result DecodePng(std::FILE* file, const DecodeLimits& limits,
                 DecodedImage* out);  // 4 bytes: blue, green, red, straight alpha
Result DecodeJpeg(std::FILE* file, const DecodeLimits& limits,
                  DecodedImage* out);  // 3 bytes: blue, green, red

bool WithinLimits(uint32_t width, uint32_t height, const DecodeLimits& limits);

}  // namespace Gfx
