#include "Oscillator.h"

#include <cmath>

namespace AssetGen {

double Oscillator::blep(double t, double dt) {
    if (t < dt) {
        t /= dt;
        return t + t - t * t - 1.0;
    }
    if (t > 1.0 - dt) {
        t = (t - 1.0) / dt;
        return t * t + t + t + 1.0;
    }
    return 0.0;
}

double Oscillator::next(double freqHz, double sampleRate) {
    const double dt = freqHz / sampleRate;
    const double t = phase_;
    double y = 0.0;
    switch (shape_) {
        case Shape::Saw:
            y = 2.0 * t - 1.0 - blep(t, dt);
            break;
        case Shape::Square: {
            double t2 = t + 0.5;
            if (t2 >= 1.0) {
                t2 -= 1.0;
            }
            y = (t < 0.5 ? 1.0 : -1.0) + blep(t, dt) - blep(t2, dt);
            break;
        }
        case Shape::Sine:
            y = std::sin(2.0 * M_PI * t);
            break;
    }
    phase_ += dt;
    if (phase_ >= 1.0) {
        phase_ -= 1.0;
    }
    return y;
}

}  // namespace AssetGen
