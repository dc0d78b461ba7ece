#pragma once
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <vector>

namespace Bench {

// How far apart two frames of the same size are (packed 4-byte pixels), by the measures that
// reused pixels are held to: at most 8 in any channel, more than 2 in at most 0.5 % of pixels.
struct Difference {
    int max = 0;
    size_t overTwo = 0, pixels = 0;
    bool Tolerable() const { return max <= 8 && overTwo * 200 <= pixels; }
    bool Rounding() const { return max <= 1; }
    double OverTwoPercent() const { return pixels ? 100.0 * overTwo / pixels : 0; }
};

inline Difference Compare(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b) {
    Difference d;
    d.pixels = a.size() / 4;
    for (size_t i = 0; i < a.size(); i += 4) {
        int worst = 0;
        for (int c = 0; c < 4; ++c) worst = std::max(worst, std::abs(a[i + c] - b[i + c]));
        d.max = std::max(d.max, worst);
        d.overTwo += worst > 2;
    }
    return d;
}

}  // namespace Bench
