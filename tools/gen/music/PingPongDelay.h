#pragma once
#include "StereoBuffer.h"

namespace AssetGen {

// Stereo echo whose repeats alternate left and right, darkening each pass.
class PingPongDelay {
  public:
    PingPongDelay(double delaySeconds, double feedback, double dampHz, double sampleRate);

    // Adds the echoes of `in` (wet only) to `out`.
    void process(const StereoBuffer& in, StereoBuffer& out) const;

  private:
    size_t delayFrames_;
    double feedback_;
    double dampCoef_;
};

}  // namespace AssetGen
