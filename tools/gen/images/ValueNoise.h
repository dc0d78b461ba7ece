#pragma once
#include <cstdint>
#include <vector>

namespace AssetGen {

// Smooth 1-D fractal noise from a fixed seed, in about [-1, 1]; used for
// mountain ridges.
class ValueNoise {
  public:
    explicit ValueNoise(uint32_t seed, int lattice = 256);

    double at(double x) const;
    double fractal(double x, int octaves) const;

  private:
    std::vector<double> values_;
};

}  // namespace AssetGen
