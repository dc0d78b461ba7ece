#pragma once
#include <cstdint>

#include "Automation.h"
#include "Note.h"
#include "Patch.h"
#include "StereoBuffer.h"

namespace AssetGen {

// Renders notes of one patch additively into a buffer. Each note gets its own
// oscillators and filters, so overlapping notes never steal from each other.
class Synth {
  public:
    Synth(const Patch& patch, double sampleRate, uint32_t seed);

    // Multiplies the patch cutoff, by absolute time in the piece.
    void setCutoffCurve(const Automation& curve) { cutoffCurve_ = curve; }
    void render(const Note& note, StereoBuffer& out);

  private:
    double cutoffAt(double t, double sinceOn) const;

    Patch patch_;
    double sampleRate_;
    uint32_t seed_;
    uint32_t noteCount_ = 0;
    Automation cutoffCurve_;
};

}  // namespace AssetGen
