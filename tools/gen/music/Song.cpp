#include "Song.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "Automation.h"
#include "DrumMachine.h"
#include "Patches.h"
#include "PingPongDelay.h"
#include "Reverb.h"
#include "Score.h"
#include "Synth.h"

namespace AssetGen {

namespace {

constexpr double kPeakTarget = 0.891;  // -1 dBFS
// Dotted eighth at 100 BPM: echoes land on the off-sixteenths of the groove.
constexpr double kDelaySeconds = 0.45;

void renderNotes(Synth& synth, const std::vector<Note>& notes, StereoBuffer& out) {
    for (const auto& n : notes) {
        synth.render(n, out);
    }
}

void applyDuck(StereoBuffer& buf, const std::vector<float>& duck, double depth) {
    for (size_t i = 0; i < buf.frames(); ++i) {
        const float g = static_cast<float>(1.0 - depth * duck[i]);
        buf.left()[i] *= g;
        buf.right()[i] *= g;
    }
}

void printLevels(const std::string& name, const StereoBuffer& b, double gain) {
    double peak = 0.0, sum = 0.0;
    for (size_t i = 0; i < b.frames(); ++i) {
        const double l = b.left()[i] * gain, r = b.right()[i] * gain;
        peak = std::max({peak, std::fabs(l), std::fabs(r)});
        sum += l * l + r * r;
    }
    const double rms = std::sqrt(sum / (2.0 * b.frames()));
    std::fprintf(stderr, "  %-10s peak %6.3f  rms %6.1f dB\n", name.c_str(), peak,
                 20.0 * std::log10(rms + 1e-12));
}

}  // namespace

std::deque<Song::Bus> Song::renderBuses() const {
    const size_t frames = static_cast<size_t>(std::lround(Arrangement::kLength * sampleRate_));
    const Score score(arrangement_);
    std::deque<Bus> buses;  // deque: the references handed out stay valid
    auto bus = [&](const char* name, double gain, double delay, double reverb) -> StereoBuffer& {
        buses.push_back({name, StereoBuffer(frames), gain, delay, reverb});
        return buses.back().buffer;
    };

    Synth pad(padPatch(), sampleRate_, 11);
    pad.setCutoffCurve(score.padCutoff());
    renderNotes(pad, score.pad(), bus("pad", 0.9, 0.0, 0.45));

    StereoBuffer& bass = bus("bass", 0.8, 0.0, 0.0);
    Synth pulse(bassPulsePatch(), sampleRate_, 23);
    renderNotes(pulse, score.bassPulse(), bass);
    Synth hold(bassHoldPatch(), sampleRate_, 29);
    renderNotes(hold, score.bassHold(), bass);

    Synth arp(arpPatch(), sampleRate_, 37);
    arp.setCutoffCurve(score.arpCutoff());
    renderNotes(arp, score.arp(), bus("arp", 1.0, 0.5, 0.3));

    StereoBuffer& lead = bus("lead", 1.6, 0.3, 0.35);
    Synth leadSynth(leadPatch(), sampleRate_, 41);
    renderNotes(leadSynth, score.lead(), lead);
    Patch second = leadPatch();
    second.level *= 0.45;
    Synth doubler(second, sampleRate_, 43);
    renderNotes(doubler, score.leadDouble(), lead);

    DrumMachine kit(sampleRate_, 53);
    StereoBuffer& kick = bus("kick", 0.8, 0.0, 0.05);
    StereoBuffer& snare = bus("snare", 0.9, 0.0, 0.5);
    StereoBuffer& hats = bus("hats", 0.8, 0.0, 0.12);
    for (const auto& h : score.drums()) {
        switch (h.kind) {
            case DrumKind::Kick:
                kit.kick(h.time, h.velocity, kick);
                break;
            case DrumKind::Snare:
                kit.snare(h.time, h.velocity, snare);
                break;
            case DrumKind::Hat:
            case DrumKind::OpenHat:
                kit.hat(h.time, h.velocity, h.kind == DrumKind::OpenHat, hats);
                break;
            case DrumKind::Crash:
                kit.crash(h.time, h.velocity * 0.6, hats);
                break;
        }
    }
    StereoBuffer& riser = bus("riser", 1.0, 0.0, 0.5);
    for (const auto& r : score.risers()) {
        kit.riser(r.start, r.end, 0.6, riser);
    }
    return buses;
}

std::vector<float> Song::duckCurve(size_t frames) const {
    // Each kick pulls the sustained parts down briefly: the synthwave "breathing".
    std::vector<float> duck(frames, 0.0f);
    const Score score(arrangement_);
    const long attack = std::lround(0.005 * sampleRate_);
    const long span = std::lround(0.5 * sampleRate_);
    for (const auto& h : score.drums()) {
        if (h.kind != DrumKind::Kick) {
            continue;
        }
        const long first = std::lround(h.time * sampleRate_);
        for (long i = 0; i < span && first + i < static_cast<long>(frames); ++i) {
            const double up = std::min(1.0, static_cast<double>(i) / attack);
            const double d = up * h.velocity * std::exp(-(i / sampleRate_) / 0.13);
            duck[first + i] = std::max(duck[first + i], static_cast<float>(d));
        }
    }
    return duck;
}

StereoBuffer Song::mix(std::deque<Bus>& buses, bool verbose) const {
    const size_t frames = buses.front().buffer.frames();
    const std::vector<float> duck = duckCurve(frames);
    StereoBuffer master(frames), delayIn(frames), reverbIn(frames), delayOut(frames);
    for (auto& b : buses) {
        const double depth = b.name == "pad" ? 0.4 : (b.name == "bass" ? 0.3 : 0.0);
        if (depth > 0.0) {
            applyDuck(b.buffer, duck, depth);
        }
        if (verbose) {
            printLevels(b.name, b.buffer, b.gain);
        }
        master.mixFrom(b.buffer, b.gain);
        delayIn.mixFrom(b.buffer, b.gain * b.delaySend);
        reverbIn.mixFrom(b.buffer, b.gain * b.reverbSend);
    }
    PingPongDelay(kDelaySeconds, 0.38, 3200.0, sampleRate_).process(delayIn, delayOut);
    master.mixFrom(delayOut, 0.6);
    reverbIn.mixFrom(delayOut, 0.3);
    StereoBuffer reverbOut(frames);
    Reverb(0.86, 0.35).process(reverbIn, reverbOut);
    if (verbose) {
        printLevels("echo", delayOut, 0.6);
        printLevels("hall", reverbOut, 1.0);
    }
    master.mixFrom(reverbOut, 1.0);
    return master;
}

void Song::finish(StereoBuffer& master) const {
    // Fade so that nothing sounds once the player stops at 154 s.
    const Automation fade({{149.0, 1.0}, {151.0, 0.6}, {152.5, 0.25}, {Arrangement::kEnd, 0.0}});
    // One-pole high-pass near 3 Hz removes the offset left by the kick's first half-cycle.
    const double pole = std::exp(-2.0 * M_PI * 3.0 / sampleRate_);
    double inL = 0.0, inR = 0.0, outL = 0.0, outR = 0.0;
    double peak = 0.0;
    for (size_t i = 0; i < master.frames(); ++i) {
        const double l = master.left()[i], r = master.right()[i];
        outL = l - inL + pole * outL;
        outR = r - inR + pole * outR;
        inL = l;
        inR = r;
        const double g = fade.at(i / sampleRate_);
        master.left()[i] = static_cast<float>(outL * g);
        master.right()[i] = static_cast<float>(outR * g);
        peak = std::max({peak, std::fabs(static_cast<double>(master.left()[i])),
                         std::fabs(static_cast<double>(master.right()[i]))});
    }
    const float scale = static_cast<float>(peak > 0.0 ? kPeakTarget / peak : 1.0);
    for (size_t i = 0; i < master.frames(); ++i) {
        master.left()[i] *= scale;
        master.right()[i] *= scale;
    }
}

StereoBuffer Song::render(bool verbose) const {
    std::deque<Bus> buses = renderBuses();
    StereoBuffer master = mix(buses, verbose);
    finish(master);
    return master;
}

}  // namespace AssetGen
