#pragma once

namespace AssetGen {

// Linear attack, exponential decay and release (times are time constants in
// seconds, i.e. the time to fall by 1/e), which sounds smoother than linear.
class Adsr {
  public:
    struct Params {
        double attack = 0.01;
        double decay = 0.2;
        double sustain = 0.7;
        double release = 0.3;
    };

    Adsr(const Params& params, double sampleRate);

    void noteOff() { releasing_ = true; }
    double next();
    // True once the release has fallen below audibility (-80 dB).
    bool finished() const { return releasing_ && level_ < 1e-4; }

  private:
    Params params_;
    double attackStep_;
    double decayCoef_;
    double releaseCoef_;
    double level_ = 0.0;
    bool attacking_ = true;
    bool releasing_ = false;
};

}  // namespace AssetGen
