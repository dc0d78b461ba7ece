#include "Export/Timeline.h"

#include <cmath>

namespace ZEL {

std::vector<uint32_t> FrameTimes(uint32_t from, uint32_t to, double fps) {
    std::vector<uint32_t> times;
    if (!(fps > 0) || to < from) {
        return times;
    }
    for (uint64_t k = 0;; ++k) {
        const double t = from + std::round(static_cast<double>(k) * 1000.0 / fps);
        if (t > to) {
            break;
        }
        times.push_back(static_cast<uint32_t>(t));
    }
    return times;
}

}  // namespace ZEL
