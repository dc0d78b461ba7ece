#pragma once
#include <cstdint>

namespace ZEL {

// A monotonic clock; the viewer's playhead and frame timings read it.
class IClock {
  public:
    virtual ~IClock() = default;
    // Microseconds from an arbitrary start; never goes back.
    virtual uint64_t NowUs() = 0;
};

}  // namespace ZEL
