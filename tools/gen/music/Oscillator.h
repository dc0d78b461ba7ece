#pragma once

namespace AssetGen {

// Band-limited oscillator: saw and square use polyBLEP corrections so the
// upper partials do not fold back into audible aliasing.
class Oscillator {
  public:
    enum class Shape { Saw, Square, Sine };

    Oscillator(Shape shape, double phase) : shape_(shape), phase_(phase) {}

    // One sample at the given frequency; amplitude in [-1, 1].
    double next(double freqHz, double sampleRate);

  private:
    static double blep(double t, double dt);

    Shape shape_;
    double phase_;  // in cycles, [0, 1)
};

}  // namespace AssetGen
