#include "StereoBuffer.h"

#include <algorithm>

namespace AssetGen {

void StereoBuffer::mixFrom(const StereoBuffer& other, double gain) {
    const size_t n = std::min(frames(), other.frames());
    const float g = static_cast<float>(gain);
    for (size_t i = 0; i < n; ++i) {
        left_[i] += g * other.left_[i];
        right_[i] += g * other.right_[i];
    }
}

}  // namespace AssetGen
