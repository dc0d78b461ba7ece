#pragma once
#include "Viewer/IClock.h"

// A clock that moves only when told to.
class FakeClock : public ZEL::IClock {
  public:
    uint64_t NowUs() override { return m_Us; }
    void SetUs(uint64_t us) { m_Us = us; }
    void AdvanceMs(uint64_t ms) { m_Us += ms * 1000; }

  private:
    uint64_t m_Us = 1000000;
};
