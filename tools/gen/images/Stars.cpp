#include <cmath>

#include "../common/Rng.h"
#include "Painters.h"

namespace AssetGen {

namespace {

constexpr int kWidth = 800;
constexpr int kHeight = 600;
constexpr int kStars = 720;

struct Star {
    double x, y, sigma, alpha;
    Rgba colour;
};

Star randomStar(Rng& rng) {
    static const Rgba kTints[] = {rgb255(255, 255, 255), rgb255(200, 220, 255),
                                  rgb255(255, 228, 200), rgb255(255, 195, 232)};
    Star s;
    s.x = rng.unit() * kWidth;
    s.y = std::pow(rng.unit(), 1.4) * kHeight;  // denser towards the top of the sky
    s.sigma = 0.45 + 1.5 * std::pow(rng.unit(), 5.0);
    s.alpha = 0.2 + 0.8 * std::pow(rng.unit(), 2.0);
    s.colour = kTints[rng.next() % 4];
    return s;
}

// Brightness of a star at an offset: a Gaussian disc, plus diffraction spikes
// for the big ones.
double profile(const Star& s, double dx, double dy) {
    double v = std::exp(-(dx * dx + dy * dy) / (2.0 * s.sigma * s.sigma));
    if (s.sigma > 1.2) {
        v += 0.5 * std::exp(-std::fabs(dx) / 7.0) * std::exp(-dy * dy / 0.5);
        v += 0.5 * std::exp(-std::fabs(dy) / 7.0) * std::exp(-dx * dx / 0.5);
    }
    return std::fmin(1.0, v);
}

void splat(Raster& r, const Star& s) {
    const int reach = s.sigma > 1.2 ? 24 : static_cast<int>(std::ceil(s.sigma * 4.0));
    for (int y = static_cast<int>(s.y) - reach; y <= static_cast<int>(s.y) + reach; ++y) {
        for (int x = static_cast<int>(s.x) - reach; x <= static_cast<int>(s.x) + reach; ++x) {
            if (x < 0 || y < 0 || x >= r.width() || y >= r.height()) {
                continue;
            }
            Rgba c = s.colour;
            c.a = s.alpha * profile(s, x + 0.5 - s.x, y + 0.5 - s.y);
            if (c.a > 1.0 / 512.0) {
                r.at(x, y) = over(c, r.at(x, y));
            }
        }
    }
}

}  // namespace

Raster paintStars() {
    Raster r(kWidth, kHeight);
    Rng rng(0x57A125u);
    for (int i = 0; i < kStars; ++i) {
        splat(r, randomStar(rng));
    }
    return r;
}

}  // namespace AssetGen
