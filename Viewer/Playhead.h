#pragma once
#include <cstdint>

#include "Viewer/IClock.h"

namespace ZEL {

// Document time since the load time: runs with the clock, stops while paused, and jumps
// where it is sent. Kept in microseconds so that jumps by whole seconds keep the playhead
// on the same 60 fps frame phase.
class Playhead {
  public:
    explicit Playhead(IClock& clock);

    uint64_t ElapsedUs();
    bool Paused() const { return m_Paused; }
    void Pause();
    void Resume();
    void SeekToUs(uint64_t elapsedUs);

  private:
    IClock& m_Clock;
    bool m_Paused = false;
    uint64_t m_BaseUs = 0;    // elapsed when the clock was last read into it
    uint64_t m_AnchorUs = 0;  // clock reading at that moment
};

}  // namespace ZEL
