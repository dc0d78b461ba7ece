#include "Automation.h"

#include <algorithm>

namespace AssetGen {

Automation::Automation(std::vector<std::pair<double, double>> points) : points_(std::move(points)) {
    std::stable_sort(points_.begin(), points_.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    if (points_.empty()) {
        points_.push_back({0.0, 1.0});
    }
}

double Automation::at(double t) const {
    if (t <= points_.front().first) {
        return points_.front().second;
    }
    for (size_t i = 1; i < points_.size(); ++i) {
        const auto& b = points_[i];
        if (t < b.first) {
            const auto& a = points_[i - 1];
            const double u = (t - a.first) / (b.first - a.first);
            return a.second + (b.second - a.second) * u;
        }
    }
    return points_.back().second;
}

}  // namespace AssetGen
