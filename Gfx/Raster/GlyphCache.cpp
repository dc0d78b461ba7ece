#include "Gfx/Raster/GlyphCache.h"

#include <cstring>

namespace Gfx {

bool GlyphKey::operator==(const GlyphKey& o) const {
    return shape == o.shape && std::memcmp(matrix, o.matrix, sizeof(matrix)) == 0 &&
           strokeWidth == o.strokeWidth && fillMode == o.fillMode && subX == o.subX &&
           subY == o.subY;
}

size_t GlyphKey::Hash() const {
    uint64_t h = shape;
    const auto mix = [&h](uint64_t v) {
        h = (h ^ (v + 0x9e3779b97f4a7c15ull + (h << 6))) * 0xff51afd7ed558ccdull;
    };
    uint32_t bits[5];
    std::memcpy(bits, matrix, sizeof(matrix));
    std::memcpy(bits + 4, &strokeWidth, sizeof(float));
    for (uint32_t b : bits) mix(b);
    mix(static_cast<uint64_t>(fillMode) << 16 | static_cast<uint64_t>(subX) << 8 | subY);
    return static_cast<size_t>(h ^ (h >> 29));
}

}  // namespace Gfx
