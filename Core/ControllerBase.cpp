#include "Core/ControllerBase.h"

#include "Core/Scenimator.h"

namespace ZEL {

void ControllerBase::Start(uint32_t time) {
    m_StartTime = static_cast<int32_t>(time);
    m_State = kWaiting;
    for (const auto& child : m_Children) {
        child->Start(time);
    }
    Advance(time);
}

void ControllerBase::Advance(uint32_t time) {
    const int32_t d = Elapsed(time);
    if (m_Head.begin <= d && d < m_Head.end) {
        m_State = kRunning;
        Write(ValueAt(d));
        AdvanceChildren(time);
    } else if (d >= m_Head.end && (m_State == kRunning || StepsOverWindow())) {
        if (m_Head.loops) {
            // The next period starts at the old start plus end; a long pause is caught up
            // one period per call.
            Start(static_cast<uint32_t>(m_StartTime) + static_cast<uint32_t>(m_Head.end));
            return;
        }
        Write(ValueAt(m_Head.end));
        AdvanceChildren(time);
        m_State = kFinished;
    }
}

void ControllerBase::Write(float value) {
    if (!m_TargetSlot) {
        // Variables are only created while the document is read, and the store never moves
        // them, so one successful lookup holds for the document's life.
        if (m_Head.target == "null" || !(m_TargetSlot = m_Document->FindVariable(m_Head.target))) {
            return;  // a write to a variable no value names is lost
        }
    }
    *m_TargetSlot = value;
}

void ControllerBase::AdvanceChildren(uint32_t time) {
    for (const auto& child : m_Children) {
        child->Advance(time);
    }
}

}  // namespace ZEL
