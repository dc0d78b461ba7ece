#include "Adsr.h"

#include <algorithm>
#include <cmath>

namespace AssetGen {

Adsr::Adsr(const Params& params, double sampleRate)
    : params_(params),
      attackStep_(1.0 / std::max(1.0, params.attack * sampleRate)),
      decayCoef_(std::exp(-1.0 / std::max(1.0, params.decay * sampleRate))),
      releaseCoef_(std::exp(-1.0 / std::max(1.0, params.release * sampleRate))) {}

double Adsr::next() {
    if (releasing_) {
        level_ *= releaseCoef_;
    } else if (attacking_) {
        level_ += attackStep_;
        if (level_ >= 1.0) {
            level_ = 1.0;
            attacking_ = false;
        }
    } else {
        level_ = params_.sustain + (level_ - params_.sustain) * decayCoef_;
    }
    return level_;
}

}  // namespace AssetGen
