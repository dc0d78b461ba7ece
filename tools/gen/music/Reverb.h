#pragma once
#include "StereoBuffer.h"

namespace AssetGen {

// Schroeder-Moorer hall: damped parallel combs into series allpasses per
// channel, the right channel's delays slightly longer for width.
class Reverb {
  public:
    Reverb(double roomSize, double damping) : roomSize_(roomSize), damping_(damping) {}

    // Adds the reverberated `in` (wet only) to `out`. Delays are tuned for 44.1 kHz.
    void process(const StereoBuffer& in, StereoBuffer& out) const;

  private:
    void processChannel(const std::vector<float>& in, std::vector<float>& out, int spread) const;

    double roomSize_;
    double damping_;
};

}  // namespace AssetGen
