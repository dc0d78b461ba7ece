#pragma once
#include <cstddef>
#include <vector>

namespace AssetGen {

// Two float channels of equal length; writes past the end are dropped so
// note tails may run over the end of the piece.
class StereoBuffer {
  public:
    explicit StereoBuffer(size_t frames) : left_(frames, 0.0f), right_(frames, 0.0f) {}

    size_t frames() const { return left_.size(); }
    void add(size_t i, double l, double r) {
        if (i < left_.size()) {
            left_[i] += static_cast<float>(l);
            right_[i] += static_cast<float>(r);
        }
    }
    void mixFrom(const StereoBuffer& other, double gain);

    std::vector<float>& left() { return left_; }
    std::vector<float>& right() { return right_; }
    const std::vector<float>& left() const { return left_; }
    const std::vector<float>& right() const { return right_; }

  private:
    std::vector<float> left_;
    std::vector<float> right_;
};

}  // namespace AssetGen
