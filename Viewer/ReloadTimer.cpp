#include "Viewer/ReloadTimer.h"

namespace ZEL {

void ReloadTimer::NoteChange(uint64_t nowMs) {
    m_Pending = true;
    m_LastChangeMs = nowMs;
}

bool ReloadTimer::Due(uint64_t nowMs) {
    if (!m_Pending || nowMs - m_LastChangeMs < kQuietMs) {
        return false;
    }
    m_Pending = false;
    return true;
}

}  // namespace ZEL
