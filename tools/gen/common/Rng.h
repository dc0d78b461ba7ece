#pragma once
#include <cstdint>

namespace AssetGen {

// xorshift32: tiny, fast and identical on every platform, so the generated
// assets depend only on the seed.
class Rng {
  public:
    explicit Rng(uint32_t seed) : state_(seed != 0 ? seed : 0x9E3779B9u) {}

    uint32_t next() {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 17;
        state_ ^= state_ << 5;
        return state_;
    }

    // Uniform in [0, 1) with 24 bits of resolution.
    double unit() { return static_cast<double>(next() >> 8) * (1.0 / 16777216.0); }

    // Uniform in [-1, 1).
    double bipolar() { return unit() * 2.0 - 1.0; }

  private:
    uint32_t state_;
};

}  // namespace AssetGen
