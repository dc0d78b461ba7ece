#include "Viewer/SteadyClock.h"

#include <chrono>

namespace ZEL {

uint64_t SteadyClock::NowUs() {
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<uint64_t>(
        std::chrono::duration_cast<std::chrono::microseconds>(now).count());
}

}  // namespace ZEL
