#include <cmath>
#include <limits>

#include "Painters.h"

namespace AssetGen {

namespace {

constexpr int kSize = 128;
constexpr double kCx = 64.0, kCy = 64.0;
constexpr double kOuter = 61.0, kInner = 55.0;
constexpr double kHorizon = 80.0;
constexpr double kSunR = 30.0, kSunY = 72.0;

// 16 entries so the file can use 4-bit indices; entries with partial alpha
// antialias the rim.
const std::vector<Rgba> kPalette = {
    rgb255(0, 0, 0, 0.0),       rgb255(255, 90, 180),  rgb255(255, 90, 180, 0.63),
    rgb255(255, 90, 180, 0.27), rgb255(40, 14, 80),    rgb255(80, 24, 100),
    rgb255(120, 34, 112),       rgb255(255, 226, 110), rgb255(255, 168, 100),
    rgb255(255, 110, 130),      rgb255(80, 230, 255),  rgb255(24, 8, 48),
    rgb255(130, 50, 190),       rgb255(70, 26, 110),   rgb255(150, 50, 130),
    rgb255(255, 175, 225),
};

Rgba below(double x, double y) {
    // Perspective floor: rays from the vanishing point and receding rows.
    const double depth = (y - kHorizon) / (kCy + kInner - kHorizon);
    const double ray =
        std::fabs(std::fmod((x - kCx) / (y - kHorizon + 4.0) * 3.0 + 100.5, 1.0) - 0.5);
    const double row = std::fabs(std::fmod(std::sqrt(depth) * 4.0 + 0.5, 1.0) - 0.5);
    const bool line = ray < 0.12 || row < 0.08;
    return line ? rgb255(130, 50, 190) : rgb255(24, 8, 48);
}

Rgba above(double x, double y) {
    const double ds = std::hypot(x - kCx, y - kSunY);
    const double top = kSunY - 8.0;
    const bool gap = y > top && std::fmod(y - top, 7.0) < 1.0 + (y - top) / 6.0;
    if (ds <= kSunR && !gap) {
        const double t = (y - (kSunY - kSunR)) / kSunR;
        return t < 0.55 ? rgb255(255, 226, 110)
                        : (t < 0.85 ? rgb255(255, 168, 100) : rgb255(255, 110, 130));
    }
    const double t = (y - (kCy - kInner)) / (kHorizon - (kCy - kInner));
    return t < 0.4 ? rgb255(40, 14, 80) : (t < 0.75 ? rgb255(80, 24, 100) : rgb255(120, 34, 112));
}

Rgba shadeBadge(double x, double y) {
    const double r = std::hypot(x - kCx, y - kCy);
    if (r > kOuter) {
        return {};
    }
    if (r > kInner) {
        return y < kCy - 40.0 ? rgb255(255, 175, 225) : rgb255(255, 90, 180);
    }
    if (std::fabs(y - kHorizon) < 1.2) {
        return rgb255(80, 230, 255);
    }
    return y > kHorizon ? below(x, y) : above(x, y);
}

uint8_t nearest(const Rgba& c) {
    uint8_t best = 0;
    double bestDist = std::numeric_limits<double>::max();
    for (size_t i = 0; i < kPalette.size(); ++i) {
        const Rgba& p = kPalette[i];
        // Compare premultiplied, so all nearly clear pixels match the clear entry.
        const double dr = c.r * c.a - p.r * p.a, dg = c.g * c.a - p.g * p.a;
        const double db = c.b * c.a - p.b * p.a, da = c.a - p.a;
        const double d = dr * dr + dg * dg + db * db + 2.0 * da * da;
        if (d < bestDist) {
            bestDist = d;
            best = static_cast<uint8_t>(i);
        }
    }
    return best;
}

}  // namespace

PaletteImage paintBadge() {
    const Raster fine = Raster::shade(kSize, kSize, 4, shadeBadge);
    PaletteImage img{kSize, kSize, kPalette, {}};
    for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; ++x) {
            img.indices.push_back(nearest(fine.at(x, y)));
        }
    }
    return img;
}

}  // namespace AssetGen
