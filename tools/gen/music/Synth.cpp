#include "Synth.h"

#include <cmath>
#include <vector>

#include "../common/Rng.h"
#include "SvfFilter.h"

namespace AssetGen {

namespace {

// Cutoff and vibrato are recomputed this often (samples): cheap and smooth.
constexpr int kControlInterval = 32;

struct UnisonVoice {
    Oscillator osc;
    double ratio;
    double gainL;
    double gainR;
};

}  // namespace

Synth::Synth(const Patch& patch, double sampleRate, uint32_t seed)
    : patch_(patch), sampleRate_(sampleRate), seed_(seed) {}

double Synth::cutoffAt(double t, double sinceOn) const {
    const double env = patch_.envCutoffHz * std::exp(-sinceOn / patch_.envCutoffDecay);
    return (patch_.cutoffHz + env) * cutoffCurve_.at(t);
}

void Synth::render(const Note& note, StereoBuffer& out) {
    Rng rng(seed_ * 2654435761u + ++noteCount_);
    std::vector<UnisonVoice> voices;
    const int n = patch_.unison < 1 ? 1 : patch_.unison;
    for (int i = 0; i < n; ++i) {
        const double pos = n == 1 ? 0.0 : (2.0 * i / (n - 1) - 1.0);  // -1..1
        const double cents = pos * patch_.detuneCents * 0.5;
        const double pan = std::fmax(-1.0, std::fmin(1.0, patch_.pan + pos * patch_.stereoSpread));
        const double angle = (pan + 1.0) * M_PI / 4.0;
        const double norm = 1.0 / std::sqrt(static_cast<double>(n));
        voices.push_back({Oscillator(patch_.shape, rng.unit()), std::exp2(cents / 1200.0),
                          std::cos(angle) * norm, std::sin(angle) * norm});
    }
    Oscillator sub(Oscillator::Shape::Sine, 0.0);
    Adsr env(patch_.amp, sampleRate_);
    SvfFilter filterL, filterR;

    const double freq = midiToHz(note.midi);
    const long first = std::lround(note.start * sampleRate_);
    const long gate = std::lround(note.length * sampleRate_);
    const long last = gate + std::lround(patch_.maxTail * sampleRate_);
    const double gain = patch_.level * note.velocity;
    double vib = 1.0;
    for (long i = 0; i < last && first + i < static_cast<long>(out.frames()); ++i) {
        if (i == gate) {
            env.noteOff();
        }
        const double sinceOn = i / sampleRate_;
        if (i % kControlInterval == 0) {
            const double cutoff = cutoffAt(note.start + sinceOn, sinceOn);
            filterL.set(cutoff, patch_.resonance, sampleRate_);
            filterR.set(cutoff, patch_.resonance, sampleRate_);
            const double fadeIn =
                std::fmin(1.0, std::fmax(0.0, (sinceOn - patch_.vibratoDelay) / 0.4));
            vib = std::exp2(patch_.vibratoSemitones * fadeIn *
                            std::sin(2.0 * M_PI * patch_.vibratoHz * sinceOn) / 12.0);
        }
        double l = 0.0, r = 0.0;
        for (auto& v : voices) {
            const double s = v.osc.next(freq * v.ratio * vib, sampleRate_);
            l += s * v.gainL;
            r += s * v.gainR;
        }
        const double subSample = patch_.subLevel * sub.next(freq * 0.5 * vib, sampleRate_);
        const double a = env.next() * gain;
        out.add(first + i, (filterL.process(l).low + subSample) * a,
                (filterR.process(r).low + subSample) * a);
        if (env.finished()) {
            break;
        }
    }
}

}  // namespace AssetGen
