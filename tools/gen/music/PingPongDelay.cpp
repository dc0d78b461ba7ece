#include "PingPongDelay.h"

#include <cmath>
#include <vector>

namespace AssetGen {

PingPongDelay::PingPongDelay(double delaySeconds, double feedback, double dampHz, double sampleRate)
    : delayFrames_(static_cast<size_t>(std::lround(delaySeconds * sampleRate))),
      feedback_(feedback),
      dampCoef_(std::exp(-2.0 * M_PI * dampHz / sampleRate)) {}

void PingPongDelay::process(const StereoBuffer& in, StereoBuffer& out) const {
    std::vector<double> lineL(delayFrames_, 0.0), lineR(delayFrames_, 0.0);
    double lpL = 0.0, lpR = 0.0;
    size_t w = 0;
    for (size_t i = 0; i < in.frames(); ++i) {
        const double tapL = lineL[w];
        const double tapR = lineR[w];
        lpL = tapL + (lpL - tapL) * dampCoef_;
        lpR = tapR + (lpR - tapR) * dampCoef_;
        const double mono = 0.5 * (in.left()[i] + in.right()[i]);
        // Input enters on the left only; the right line is fed from the left.
        lineL[w] = mono + lpR * feedback_;
        lineR[w] = lpL * feedback_;
        out.add(i, tapL, tapR);
        w = (w + 1) % delayFrames_;
    }
}

}  // namespace AssetGen
