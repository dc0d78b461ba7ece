#pragma once
#include <algorithm>

namespace AssetGen {

// Straight (non-premultiplied) colour, channels in [0, 1].
struct Rgba {
    double r = 0.0, g = 0.0, b = 0.0, a = 0.0;
};

inline Rgba rgb255(int r, int g, int b, double a = 1.0) {
    return {r / 255.0, g / 255.0, b / 255.0, a};
}

inline Rgba mix(const Rgba& x, const Rgba& y, double t) {
    return {x.r + (y.r - x.r) * t, x.g + (y.g - x.g) * t, x.b + (y.b - x.b) * t,
            x.a + (y.a - x.a) * t};
}

// Porter-Duff "source over destination" in straight alpha.
inline Rgba over(const Rgba& src, const Rgba& dst) {
    const double a = src.a + dst.a * (1.0 - src.a);
    if (a <= 0.0) {
        return {};
    }
    auto ch = [&](double s, double d) { return (s * src.a + d * dst.a * (1.0 - src.a)) / a; };
    return {ch(src.r, dst.r), ch(src.g, dst.g), ch(src.b, dst.b), a};
}

inline double smoothstep(double e0, double e1, double x) {
    const double t = std::clamp((x - e0) / (e1 - e0), 0.0, 1.0);
    return t * t * (3.0 - 2.0 * t);
}

}  // namespace AssetGen
