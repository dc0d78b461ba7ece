#pragma once
#include <deque>
#include <string>
#include <vector>

#include "Arrangement.h"
#include "StereoBuffer.h"

namespace AssetGen {

// Renders the whole piece: instruments onto buses, side-chain ducking, echo
// and hall sends, the final fade, and normalisation to -1 dBFS peak.
class Song {
  public:
    explicit Song(double sampleRate) : sampleRate_(sampleRate) {}

    // With `verbose`, prints each bus's peak and RMS so the mix can be balanced.
    StereoBuffer render(bool verbose) const;
    const Arrangement& arrangement() const { return arrangement_; }

  private:
    struct Bus {
        std::string name;
        StereoBuffer buffer;
        double gain;
        double delaySend;
        double reverbSend;
    };

    std::deque<Bus> renderBuses() const;
    std::vector<float> duckCurve(size_t frames) const;
    StereoBuffer mix(std::deque<Bus>& buses, bool verbose) const;
    void finish(StereoBuffer& master) const;

    double sampleRate_;
    Arrangement arrangement_;
};

}  // namespace AssetGen
