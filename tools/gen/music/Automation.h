#pragma once
#include <utility>
#include <vector>

namespace AssetGen {

// Piecewise-linear curve over time in seconds; holds the first and last
// values outside its points. Used for filter sweeps and level rides.
class Automation {
  public:
    explicit Automation(double constant = 1.0) : points_{{0.0, constant}} {}
    explicit Automation(std::vector<std::pair<double, double>> points);

    double at(double t) const;

  private:
    std::vector<std::pair<double, double>> points_;  // (time s, value), time-sorted
};

}  // namespace AssetGen
