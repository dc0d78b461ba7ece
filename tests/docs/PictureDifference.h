#pragma once
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace Docs {

// How a drawn frame differs from a committed picture (both packed blue-green-red).
// A flat pixel is one whose 3x3 neighbourhood in the picture has one colour: the inside of
// a fill, the background. Those must match to rounding. The rest are edges, gradients and
// images, where coverage and interpolation may move a little: their mean difference is
// bounded, which a shape moved by a pixel or a wrong colour ramp still exceeds.
struct PictureDifference {
    static constexpr int kFlatTolerance = 2;          // levels of 255
    static constexpr double kEdgeMeanTolerance = 12;  // levels of 255

    int flatMax = 0;
    size_t flatOff = 0, flat = 0, edges = 0;
    double edgeMean = 0;

    bool Acceptable() const { return flatMax <= kFlatTolerance && edgeMean <= kEdgeMeanTolerance; }
    std::string Describe() const {
        return std::to_string(flatOff) + " of " + std::to_string(flat) +
               " flat pixels differ (by up to " + std::to_string(flatMax) +
               "); edge pixels differ by " + std::to_string(edgeMean) + " on average over " +
               std::to_string(edges);
    }
};

inline int PixelDistance(const uint8_t* a, const uint8_t* b) {
    int worst = 0;
    for (int c = 0; c < 3; ++c) {
        const int d = std::abs(a[c] - b[c]);
        worst = d > worst ? d : worst;
    }
    return worst;
}

inline bool IsFlat(const std::vector<uint8_t>& p, uint32_t w, uint32_t h, uint32_t x, uint32_t y) {
    const uint8_t* centre = &p[(static_cast<size_t>(y) * w + x) * 3];
    for (int dy = -1; dy <= 1; ++dy) {
        for (int dx = -1; dx <= 1; ++dx) {
            const long nx = static_cast<long>(x) + dx, ny = static_cast<long>(y) + dy;
            if (nx < 0 || ny < 0 || nx >= static_cast<long>(w) || ny >= static_cast<long>(h)) {
                continue;
            }
            if (PixelDistance(centre, &p[(static_cast<size_t>(ny) * w + nx) * 3]) != 0) {
                return false;
            }
        }
    }
    return true;
}

inline PictureDifference ComparePictures(const std::vector<uint8_t>& picture,
                                         const std::vector<uint8_t>& drawn, uint32_t w,
                                         uint32_t h) {
    PictureDifference d;
    double edgeSum = 0;
    for (uint32_t y = 0; y < h; ++y) {
        for (uint32_t x = 0; x < w; ++x) {
            const size_t i = (static_cast<size_t>(y) * w + x) * 3;
            const int distance = PixelDistance(&picture[i], &drawn[i]);
            if (IsFlat(picture, w, h, x, y)) {
                ++d.flat;
                d.flatOff += distance > PictureDifference::kFlatTolerance;
                d.flatMax = distance > d.flatMax ? distance : d.flatMax;
            } else {
                ++d.edges;
                edgeSum += distance;
            }
        }
    }
    d.edgeMean = d.edges ? edgeSum / d.edges : 0;
    return d;
}

}  // namespace Docs
