#pragma once
#include <cstdint>
#include <functional>
#include <vector>

#include "Rgba.h"

namespace AssetGen {

// A float image in straight alpha, with conversion to 8-bit rows.
class Raster {
  public:
    Raster(int width, int height) : width_(width), height_(height), px_(width * height) {}

    // Evaluates `shade` at ss x ss points per pixel (pixel centres at +0.5) and
    // averages them with alpha weighting, which antialiases edges.
    static Raster shade(int width, int height, int ss,
                        const std::function<Rgba(double x, double y)>& shade);

    int width() const { return width_; }
    int height() const { return height_; }
    Rgba& at(int x, int y) { return px_[y * width_ + x]; }
    const Rgba& at(int x, int y) const { return px_[y * width_ + x]; }

    // Interleaved 8-bit samples: 3 = RGB (alpha dropped), 4 = RGBA.
    std::vector<uint8_t> bytes(int channels) const;

  private:
    int width_;
    int height_;
    std::vector<Rgba> px_;
};

uint8_t to8(double v);

}  // namespace AssetGen
