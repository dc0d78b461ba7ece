#include "DrumMachine.h"

#include <cmath>

#include "SvfFilter.h"

namespace AssetGen {

long DrumMachine::toFrame(double t) const {
    return std::lround(t * sampleRate_);
}

void DrumMachine::kick(double t, double velocity, StereoBuffer& out) {
    const long first = toFrame(t);
    const long n = toFrame(0.6);
    double phase = 0.0;
    for (long i = 0; i < n; ++i) {
        const double s = i / sampleRate_;
        // Pitch falls from ~140 Hz to 48 Hz in a few tens of ms: the "thump".
        const double freq = 48.0 + 92.0 * std::exp(-s / 0.028);
        phase += freq / sampleRate_;
        const double body = std::sin(2.0 * M_PI * phase) * std::exp(-s / 0.32);
        const double click = s < 0.004 ? rng_.bipolar() * 0.25 * (1.0 - s / 0.004) : 0.0;
        const double y = std::tanh(1.4 * (body + click)) * velocity;
        out.add(first + i, y, y);
    }
}

void DrumMachine::snare(double t, double velocity, StereoBuffer& out) {
    const long first = toFrame(t);
    const long n = toFrame(0.45);
    SvfFilter band;
    band.set(1900.0, 0.3, sampleRate_);
    double phase = 0.0;
    for (long i = 0; i < n; ++i) {
        const double s = i / sampleRate_;
        phase += (180.0 + 40.0 * std::exp(-s / 0.01)) / sampleRate_;
        const double tone = std::sin(2.0 * M_PI * phase) * std::exp(-s / 0.06) * 0.6;
        const auto f = band.process(rng_.bipolar());
        const double noise = (f.band * 1.2 + f.high * 0.3) * std::exp(-s / 0.13);
        const double y = (tone + noise) * velocity;
        out.add(first + i, y, y);
    }
}

void DrumMachine::hat(double t, double velocity, bool open, StereoBuffer& out) {
    const long first = toFrame(t);
    const double decay = open ? 0.16 : 0.035;
    const long n = toFrame(decay * 7.0);
    SvfFilter hp;
    hp.set(open ? 6500.0 : 8000.0, 0.2, sampleRate_);
    for (long i = 0; i < n; ++i) {
        const double s = i / sampleRate_;
        const double y = hp.process(rng_.bipolar()).high * std::exp(-s / decay) * velocity;
        // Hats sit a little right of centre, as on a drummer's kit.
        out.add(first + i, y * 0.8, y);
    }
}

void DrumMachine::crash(double t, double velocity, StereoBuffer& out) {
    const long first = toFrame(t);
    const long n = toFrame(4.0);
    SvfFilter hpL, hpR;
    hpL.set(4500.0, 0.1, sampleRate_);
    hpR.set(4700.0, 0.1, sampleRate_);
    for (long i = 0; i < n; ++i) {
        const double s = i / sampleRate_;
        const double a = velocity * std::exp(-s / 0.7);
        // Independent noise per side makes the wash wide.
        out.add(first + i, hpL.process(rng_.bipolar()).high * a,
                hpR.process(rng_.bipolar()).high * a);
    }
}

void DrumMachine::riser(double t0, double t1, double velocity, StereoBuffer& out) {
    const long first = toFrame(t0);
    const long n = toFrame(t1 - t0);
    SvfFilter bandL, bandR;
    for (long i = 0; i < n; ++i) {
        const double u = static_cast<double>(i) / n;
        if (i % 32 == 0) {
            const double fc = 250.0 * std::pow(30.0, u);  // 250 Hz -> 7.5 kHz
            bandL.set(fc, 0.55, sampleRate_);
            bandR.set(fc * 1.07, 0.55, sampleRate_);
        }
        const double a = velocity * u * u;
        out.add(first + i, bandL.process(rng_.bipolar()).band * a,
                bandR.process(rng_.bipolar()).band * a);
    }
}

}  // namespace AssetGen
