#include "Viewer/Playhead.h"

namespace ZEL {

Playhead::Playhead(IClock& clock) : m_Clock(clock), m_AnchorUs(clock.NowUs()) {}

uint64_t Playhead::ElapsedUs() {
    if (m_Paused) {
        return m_BaseUs;
    }
    return m_BaseUs + (m_Clock.NowUs() - m_AnchorUs);
}

void Playhead::Pause() {
    if (!m_Paused) {
        m_BaseUs = ElapsedUs();
        m_Paused = true;
    }
}

void Playhead::Resume() {
    if (m_Paused) {
        m_AnchorUs = m_Clock.NowUs();
        m_Paused = false;
    }
}

void Playhead::SeekToUs(uint64_t elapsedUs) {
    m_BaseUs = elapsedUs;
    m_AnchorUs = m_Clock.NowUs();
}

}  // namespace ZEL
