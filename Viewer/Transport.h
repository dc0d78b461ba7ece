#pragma once
#include <cstdint>

#include "Viewer/IClock.h"
#include "Viewer/IMusic.h"
#include "Viewer/Playhead.h"

namespace ZEL {

// The playhead and the music moved together: pause, resume and jumps reach both, so the
// track stays at the document's elapsed time.
class Transport {
  public:
    Transport(IClock& clock, IMusic& music);

    // Starts the clock and the music at the load time.
    void Start();
    uint64_t ElapsedUs() { return m_Playhead.ElapsedUs(); }
    uint64_t ElapsedMs() { return m_Playhead.ElapsedUs() / 1000; }
    bool Paused() const { return m_Playhead.Paused(); }
    void TogglePause();
    void MoveToUs(uint64_t elapsedUs);
    // The 60 fps grid frame after (direction > 0) or before the playhead; at the load time
    // there is none before, and the playhead's own time is returned.
    uint64_t NeighbourFrameUs(int direction);

  private:
    IMusic& m_Music;
    Playhead m_Playhead;
    bool m_MusicBehind = false;  // moved while paused: resume plays from the new place
};

}  // namespace ZEL
