#pragma once
#include "Adsr.h"
#include "Oscillator.h"

namespace AssetGen {

// Sound of one subtractive synth voice.
struct Patch {
    Oscillator::Shape shape = Oscillator::Shape::Saw;
    int unison = 1;             // detuned oscillators per note
    double detuneCents = 0.0;   // spread between the outermost oscillators
    double stereoSpread = 0.0;  // 0 = all centred, 1 = outermost hard left/right
    double subLevel = 0.0;      // sine one octave below
    Adsr::Params amp;
    double cutoffHz = 2000.0;
    double resonance = 0.1;
    double envCutoffHz = 0.0;  // extra cutoff at note start, decaying
    double envCutoffDecay = 0.2;
    double vibratoSemitones = 0.0;
    double vibratoHz = 5.0;
    double vibratoDelay = 0.3;  // s before the vibrato fades in
    double level = 1.0;
    double pan = 0.0;      // -1 left .. 1 right
    double maxTail = 4.0;  // s rendered after note-off at most
};

}  // namespace AssetGen
