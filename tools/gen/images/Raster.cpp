#include "Raster.h"

#include <cmath>

namespace AssetGen {

uint8_t to8(double v) {
    return static_cast<uint8_t>(std::lround(std::clamp(v, 0.0, 1.0) * 255.0));
}

Raster Raster::shade(int width, int height, int ss,
                     const std::function<Rgba(double x, double y)>& shade) {
    Raster out(width, height);
    const double inv = 1.0 / (ss * ss);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            double r = 0, g = 0, b = 0, a = 0;
            for (int j = 0; j < ss; ++j) {
                for (int i = 0; i < ss; ++i) {
                    const Rgba c = shade(x + (i + 0.5) / ss, y + (j + 0.5) / ss);
                    r += c.r * c.a;
                    g += c.g * c.a;
                    b += c.b * c.a;
                    a += c.a;
                }
            }
            out.at(x, y) = a > 0.0 ? Rgba{r / a, g / a, b / a, a * inv} : Rgba{};
        }
    }
    return out;
}

std::vector<uint8_t> Raster::bytes(int channels) const {
    std::vector<uint8_t> out;
    out.reserve(px_.size() * channels);
    for (const Rgba& c : px_) {
        out.push_back(to8(c.r));
        out.push_back(to8(c.g));
        out.push_back(to8(c.b));
        if (channels == 4) {
            out.push_back(to8(c.a));
        }
    }
    return out;
}

}  // namespace AssetGen
