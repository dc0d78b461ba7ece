#pragma once
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <stdexcept>
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

// How far a frame is from a reference drawn with exact area coverage, by the measures edges
// are held to: the mean absolute difference over every channel of every pixel (alpha
// included), the share of pixels whose worst channel is off by more than 8 and by more than
// 32, and the largest difference in any channel.
struct Deviation {
    double mean = 0;
    int max = 0;
    size_t overEight = 0, overSixteen = 0, overThirtyTwo = 0, pixels = 0;
    double OverEightPercent() const { return pixels ? 100.0 * overEight / pixels : 0; }
    double OverSixteenPercent() const { return pixels ? 100.0 * overSixteen / pixels : 0; }
    double OverThirtyTwoPercent() const { return pixels ? 100.0 * overThirtyTwo / pixels : 0; }
};

inline Deviation Measure(const std::vector<uint8_t>& frame, const std::vector<uint8_t>& reference) {
    if (frame.size() != reference.size() || frame.size() % 4 != 0)
        throw std::invalid_argument("frames of different sizes can't be compared");
    Deviation d;
    d.pixels = frame.size() / 4;
    uint64_t sum = 0;
    for (size_t i = 0; i < frame.size(); i += 4) {
        int worst = 0;
        for (int c = 0; c < 4; ++c) {
            const int diff = std::abs(frame[i + c] - reference[i + c]);
            sum += static_cast<uint64_t>(diff);
            worst = std::max(worst, diff);
        }
        d.max = std::max(d.max, worst);
        d.overEight += worst > 8;
        d.overSixteen += worst > 16;
        d.overThirtyTwo += worst > 32;
    }
    d.mean = frame.empty() ? 0 : static_cast<double>(sum) / static_cast<double>(frame.size());
    return d;
}

}  // namespace Bench
