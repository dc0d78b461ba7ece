#include <cmath>

#include "Painters.h"

namespace AssetGen {

Raster paintGlow() {
    constexpr int kSize = 256;
    constexpr double kCentre = kSize / 2.0;
    const Rgba core = rgb255(255, 248, 235);
    const Rgba rim = rgb255(255, 105, 180);
    return Raster::shade(kSize, kSize, 2, [&](double x, double y) {
        const double r = std::hypot(x - kCentre, y - kCentre) / kCentre;  // 0 centre, 1 rim
        if (r >= 1.0) {
            return Rgba{};
        }
        // A Gaussian core on a wide halo, windowed so the rim is exactly clear.
        const double window = (1.0 - r * r) * (1.0 - r * r);
        const double a = (0.6 * std::exp(-r * r * 18.0) + 0.45 * std::exp(-r * r * 3.0)) * window;
        Rgba c = mix(core, rim, smoothstep(0.0, 0.55, r));
        c.a = std::fmin(1.0, a * 1.1);
        return c;
    });
}

}  // namespace AssetGen
