#pragma once

namespace AssetGen {

// Trapezoidal state-variable filter: stays stable while the cutoff moves,
// which the swept pads and plucks need.
class SvfFilter {
  public:
    struct Outputs {
        double low;
        double band;
        double high;
    };

    // resonance in [0, 1): 0 is a gentle, unresonant slope.
    void set(double cutoffHz, double resonance, double sampleRate);
    Outputs process(double x);

  private:
    double a1_ = 0.0, a2_ = 0.0, a3_ = 0.0, k_ = 2.0;
    double ic1_ = 0.0, ic2_ = 0.0;
};

}  // namespace AssetGen
