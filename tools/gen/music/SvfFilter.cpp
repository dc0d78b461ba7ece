#include "SvfFilter.h"

#include <algorithm>
#include <cmath>

namespace AssetGen {

void SvfFilter::set(double cutoffHz, double resonance, double sampleRate) {
    const double fc = std::clamp(cutoffHz, 20.0, 0.45 * sampleRate);
    const double g = std::tan(M_PI * fc / sampleRate);
    k_ = 2.0 - 2.0 * std::clamp(resonance, 0.0, 0.95);
    a1_ = 1.0 / (1.0 + g * (g + k_));
    a2_ = g * a1_;
    a3_ = g * a2_;
}

SvfFilter::Outputs SvfFilter::process(double x) {
    const double v3 = x - ic2_;
    const double v1 = a1_ * ic1_ + a2_ * v3;
    const double v2 = ic2_ + a2_ * ic1_ + a3_ * v3;
    ic1_ = 2.0 * v1 - ic1_;
    ic2_ = 2.0 * v2 - ic2_;
    return {v2, v1, x - k_ * v1 - v2};
}

}  // namespace AssetGen
