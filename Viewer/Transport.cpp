#include "Viewer/Transport.h"

namespace ZEL {

namespace {
// The k-th frame of the 60 fps grid; whole milliseconds of it are DocumentRun::FrameMs(k).
uint64_t FrameUs(uint64_t k) {
    return k * 1000000 / 60;
}
}  // namespace

Transport::Transport(IClock& clock, IMusic& music) : m_Music(music), m_Playhead(clock) {}

void Transport::Start() {
    m_Playhead.SeekToUs(0);
    m_Music.PlayFrom(0);
}

void Transport::TogglePause() {
    if (!m_Playhead.Paused()) {
        m_Playhead.Pause();
        m_Music.Pause();
        return;
    }
    m_Playhead.Resume();
    if (m_MusicBehind) {
        m_Music.PlayFrom(ElapsedMs());
        m_MusicBehind = false;
    } else {
        m_Music.Resume();
    }
}

void Transport::MoveToUs(uint64_t elapsedUs) {
    m_Playhead.SeekToUs(elapsedUs);
    // A paused track stays silent until resumed, then starts where the playhead is.
    if (m_Playhead.Paused()) {
        m_MusicBehind = true;
    } else {
        m_Music.PlayFrom(ElapsedMs());
    }
}

uint64_t Transport::NeighbourFrameUs(int direction) {
    const uint64_t now = ElapsedUs();
    uint64_t k = now * 60 / 1000000;
    if (direction > 0) {
        while (FrameUs(k) <= now) {
            ++k;
        }
        return FrameUs(k);
    }
    while (k > 0 && FrameUs(k) >= now) {
        --k;
    }
    return FrameUs(k) < now ? FrameUs(k) : now;
}

}  // namespace ZEL
