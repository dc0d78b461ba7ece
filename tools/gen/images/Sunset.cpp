#include <cmath>
#include <utility>
#include <vector>

#include "Painters.h"
#include "ValueNoise.h"

namespace AssetGen {

namespace {

constexpr int kWidth = 800;
constexpr int kHeight = 600;
constexpr double kHorizon = 430.0;
constexpr double kSunX = 400.0, kSunY = 340.0, kSunR = 140.0;

Rgba gradient(const std::vector<std::pair<double, Rgba>>& stops, double y) {
    if (y <= stops.front().first) {
        return stops.front().second;
    }
    for (size_t i = 1; i < stops.size(); ++i) {
        if (y < stops[i].first) {
            const double t = (y - stops[i - 1].first) / (stops[i].first - stops[i - 1].first);
            return mix(stops[i - 1].second, stops[i].second, t);
        }
    }
    return stops.back().second;
}

Rgba sky(double x, double y) {
    static const std::vector<std::pair<double, Rgba>> stops = {
        {0.0, rgb255(18, 8, 48)},
        {180.0, rgb255(70, 22, 105)},
        {320.0, rgb255(190, 60, 130)},
        {kHorizon, rgb255(255, 150, 95)},
    };
    Rgba c = gradient(stops, y);
    const double edge = std::fmax(0.0, std::hypot(x - kSunX, y - kSunY) - kSunR);
    return mix(c, rgb255(255, 170, 120), 0.55 * std::exp(-edge / 110.0));
}

// Retro sun: yellow to magenta, cut by gaps that widen towards its base.
bool sun(double x, double y, Rgba& out) {
    if (std::hypot(x - kSunX, y - kSunY) > kSunR) {
        return false;
    }
    const double top = kSunY - 20.0;
    if (y > top) {
        const double v = (y - top) / (kSunR + 20.0);
        if (std::fmod(y - top, 22.0) < 2.0 + 11.0 * v) {
            return false;
        }
    }
    const double t = (y - (kSunY - kSunR)) / (2.0 * kSunR);
    out = mix(rgb255(255, 236, 120), rgb255(255, 70, 140), smoothstep(0.1, 0.8, t));
    return true;
}

double ridge(const ValueNoise& noise, double x, double base, double height, double scale) {
    // Lower in the middle so the sun stays in view.
    const double open = 0.3 + 0.7 * smoothstep(40.0, 330.0, std::fabs(x - kSunX));
    return kHorizon - (base + height * (0.5 + 0.5 * noise.fractal(x / scale, 5))) * open;
}

Rgba ground(double x, double y) {
    const double depth = (y - kHorizon) / (kHeight - kHorizon);
    Rgba c = mix(rgb255(60, 18, 80), rgb255(12, 4, 26), std::sqrt(depth));
    // The sun's reflection: a soft column broken into shimmering lines.
    const double column = std::exp(-std::pow((x - kSunX) / 120.0, 2.0)) * (1.0 - depth);
    const double shimmer = std::fmod(y - kHorizon, 7.0) < 3.0 ? 1.0 : 0.35;
    return mix(c, rgb255(255, 110, 150), 0.45 * column * shimmer);
}

}  // namespace

Raster paintSunset() {
    const ValueNoise far(0xD05Cu), near(0x5EA7u);
    return Raster::shade(kWidth, kHeight, 2, [&](double x, double y) {
        if (y >= kHorizon + 1.5) {
            return ground(x, y);
        }
        if (y >= kHorizon - 0.5) {
            return rgb255(255, 175, 205);
        }
        if (y > ridge(near, x, 12.0, 55.0, 90.0)) {
            const double haze = smoothstep(kHorizon - 70.0, kHorizon, y);
            return mix(rgb255(45, 12, 66), rgb255(120, 40, 110), 0.6 * haze);
        }
        if (y > ridge(far, x, 30.0, 70.0, 150.0)) {
            return mix(rgb255(105, 38, 120), rgb255(200, 90, 130), smoothstep(340.0, kHorizon, y));
        }
        Rgba c;
        return sun(x, y, c) ? c : sky(x, y);
    });
}

}  // namespace AssetGen
