#pragma once
#include <cstdint>

#include "../common/Rng.h"
#include "StereoBuffer.h"

namespace AssetGen {

// Synthesised kit: sine-sweep kick, noise-and-tone snare, filtered-noise hats,
// and a noise riser for builds. Times in seconds, velocity 0..1.
class DrumMachine {
  public:
    DrumMachine(double sampleRate, uint32_t seed) : sampleRate_(sampleRate), rng_(seed) {}

    void kick(double t, double velocity, StereoBuffer& out);
    void snare(double t, double velocity, StereoBuffer& out);
    void hat(double t, double velocity, bool open, StereoBuffer& out);
    void crash(double t, double velocity, StereoBuffer& out);
    // Band-passed noise sweeping upwards and swelling from t0 to t1.
    void riser(double t0, double t1, double velocity, StereoBuffer& out);

  private:
    long toFrame(double t) const;

    double sampleRate_;
    Rng rng_;
};

}  // namespace AssetGen
