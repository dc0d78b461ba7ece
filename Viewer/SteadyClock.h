#pragma once
#include "Viewer/IClock.h"

namespace ZEL {

// The system's monotonic clock.
class SteadyClock : public IClock {
  public:
    uint64_t NowUs() override;
};

}  // namespace ZEL
