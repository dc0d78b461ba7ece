#include "Patches.h"

namespace AssetGen {

using Shape = Oscillator::Shape;

Patch padPatch() {
    Patch p;
    p.shape = Shape::Saw;
    p.unison = 3;
    p.detuneCents = 14.0;
    p.stereoSpread = 0.7;
    p.amp = {0.8, 1.5, 0.85, 1.3};
    p.cutoffHz = 1100.0;
    p.resonance = 0.1;
    p.level = 0.25;
    p.maxTail = 6.0;
    return p;
}

Patch bassPulsePatch() {
    Patch p;
    p.shape = Shape::Saw;
    p.subLevel = 0.8;
    p.amp = {0.003, 0.18, 0.5, 0.06};
    p.cutoffHz = 260.0;
    p.envCutoffHz = 1100.0;
    p.envCutoffDecay = 0.09;
    p.resonance = 0.25;
    p.level = 0.5;
    p.maxTail = 0.6;
    return p;
}

Patch bassHoldPatch() {
    Patch p;
    p.shape = Shape::Saw;
    p.unison = 2;
    p.detuneCents = 6.0;
    p.subLevel = 0.9;
    p.amp = {0.25, 1.0, 0.8, 0.9};
    p.cutoffHz = 300.0;
    p.resonance = 0.1;
    p.level = 0.45;
    p.maxTail = 5.0;
    return p;
}

Patch arpPatch() {
    Patch p;
    p.shape = Shape::Square;
    p.amp = {0.002, 0.16, 0.0, 0.1};
    p.cutoffHz = 700.0;
    p.envCutoffHz = 2600.0;
    p.envCutoffDecay = 0.08;
    p.resonance = 0.35;
    p.level = 0.35;
    p.maxTail = 0.8;
    return p;
}

Patch leadPatch() {
    Patch p;
    p.shape = Shape::Saw;
    p.unison = 2;
    p.detuneCents = 9.0;
    p.stereoSpread = 0.25;
    p.amp = {0.02, 0.5, 0.7, 0.3};
    p.cutoffHz = 1700.0;
    p.envCutoffHz = 1400.0;
    p.envCutoffDecay = 0.2;
    p.resonance = 0.15;
    p.vibratoSemitones = 0.15;
    p.vibratoHz = 5.2;
    p.vibratoDelay = 0.25;
    p.level = 0.4;
    p.maxTail = 2.0;
    return p;
}

}  // namespace AssetGen
