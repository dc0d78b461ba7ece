#include <cmath>

#include "Painters.h"

namespace AssetGen {

namespace {

constexpr int kSize = 512;
constexpr double kHorizon = 24.0;
constexpr double kFocal = 400.0;         // px
constexpr double kFocalHeight = 3050.0;  // focal length times camera height, px * units

// Intensity of the nearest line of a family: a crisp core and a neon glow.
// `spacing` is the on-screen distance between lines, to fade out moire.
double lineIntensity(double distPx, double widthPx, double spacing, double& core) {
    core = std::clamp(1.0 - (distPx - widthPx * 0.5), 0.0, 1.0);
    const double glow = 0.5 * std::exp(-distPx / 4.0);
    const double fade = smoothstep(2.5, 12.0, spacing);
    core *= fade;
    return std::fmax(core, glow * fade);
}

Rgba horizonGlow(double y) {
    Rgba c = rgb255(255, 130, 225);
    c.a = 0.9 * std::exp(-std::fabs(y - kHorizon) / 5.0);
    return c;
}

}  // namespace

Raster paintGrid() {
    return Raster::shade(kSize, kSize, 3, [](double x, double y) {
        const Rgba halo = horizonGlow(y);
        if (y <= kHorizon) {
            return halo;
        }
        const double z = kFocalHeight / (y - kHorizon);
        const double xw = (x - kSize / 2.0) * z / kFocal;
        const double near = (y - kHorizon) / (kSize - kHorizon);
        const double width = 0.8 + 1.8 * near;
        double coreX = 0.0, coreZ = 0.0;
        const double ix =
            lineIntensity(std::fabs(xw - std::round(xw)) * kFocal / z, width, kFocal / z, coreX);
        const double iz = lineIntensity(std::fabs(z - std::round(z)) * kFocalHeight / (z * z),
                                        width, kFocalHeight / (z * z), coreZ);
        const double fog = 0.3 + 0.7 * smoothstep(kHorizon, kHorizon + 260.0, y);
        Rgba c = mix(rgb255(255, 40, 200), rgb255(255, 215, 250), std::fmax(coreX, coreZ));
        c = mix(rgb255(150, 60, 255), c, smoothstep(kHorizon, kHorizon + 200.0, y));
        c.a = std::fmin(1.0, std::fmax(ix, iz)) * fog;
        return over(c, halo);
    });
}

}  // namespace AssetGen
