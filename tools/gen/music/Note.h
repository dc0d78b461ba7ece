#pragma once
#include <cmath>

namespace AssetGen {

struct Note {
    double start;   // s
    double length;  // gate time, s
    int midi;       // 69 = A4 = 440 Hz
    double velocity;
};

inline double midiToHz(double midi) {
    // Equal temperament, A4 = 440 Hz.
    return 440.0 * std::exp2((midi - 69.0) / 12.0);
}

}  // namespace AssetGen
