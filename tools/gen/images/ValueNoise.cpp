#include "ValueNoise.h"

#include <cmath>

#include "../common/Rng.h"

namespace AssetGen {

ValueNoise::ValueNoise(uint32_t seed, int lattice) {
    Rng rng(seed);
    for (int i = 0; i < lattice; ++i) {
        values_.push_back(rng.bipolar());
    }
}

double ValueNoise::at(double x) const {
    const double fl = std::floor(x);
    const long i = static_cast<long>(fl);
    const long n = static_cast<long>(values_.size());
    const double a = values_[((i % n) + n) % n];
    const double b = values_[(((i + 1) % n) + n) % n];
    const double t = x - fl;
    const double s = t * t * (3.0 - 2.0 * t);
    return a + (b - a) * s;
}

double ValueNoise::fractal(double x, int octaves) const {
    double sum = 0.0, amp = 1.0, norm = 0.0;
    for (int o = 0; o < octaves; ++o) {
        sum += at(x) * amp;
        norm += amp;
        amp *= 0.5;
        x *= 2.0;
    }
    return sum / norm;
}

}  // namespace AssetGen
