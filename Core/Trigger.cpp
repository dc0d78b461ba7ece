#include "Core/Trigger.h"

#include "Core/IScenimator.h"

namespace ZEL {

namespace {
ControllerHead TriggerHead(int32_t begin) {
    ControllerHead head;
    head.begin = begin;
    return head;
}
}  // namespace

Trigger::Trigger(int32_t begin, std::shared_ptr<IScenimator> targetZel, std::string animation)
    : ControllerBase(TriggerHead(begin)),
      m_TargetZel(std::move(targetZel)),
      m_Animation(std::move(animation)) {}

void Trigger::Advance(uint32_t time) {
    if (Elapsed(time) < m_Head.begin || m_State != kWaiting) {
        return;
    }
    m_State = kFinished;
    // The exact trigger moment, not the frame time.
    m_TargetZel->PlayAnimation(
        m_Animation, static_cast<uint32_t>(m_StartTime) + static_cast<uint32_t>(m_Head.begin));
}

}  // namespace ZEL
