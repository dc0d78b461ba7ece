#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "Core/ScenimatorComponent.h"

namespace ZEL {

// The head every controller but a trigger reads: target variable and window in ms.
struct ControllerHead {
    std::string target;  // "null" writes nothing
    int32_t begin = 0;
    int32_t end = 0;
    bool loops = false;
};

// A function of the time since its start that writes a variable; owns child controllers
// that start and advance with it.
class ControllerBase : public ScenimatorComponent {
  public:
    enum State { kWaiting = 0, kRunning = 1, kFinished = 2 };

    explicit ControllerBase(ControllerHead head) : m_Head(std::move(head)) {}
    ~ControllerBase() override = default;

    virtual void Start(uint32_t time);
    virtual void Advance(uint32_t time);
    // The value at d ms after the start.
    virtual float ValueAt(int32_t d) = 0;

    void AppendChild(std::shared_ptr<ControllerBase> child) {
        m_Children.push_back(std::move(child));
    }
    int GetState() const { return m_State; }
    const ControllerHead& Head() const { return m_Head; }
    const std::vector<std::shared_ptr<ControllerBase>>& Children() const { return m_Children; }

  protected:
    // Milliseconds since the last start; wraps as the tick counter does.
    int32_t Elapsed(uint32_t time) const {
        return static_cast<int32_t>(time - static_cast<uint32_t>(m_StartTime));
    }
    // Waiting for a window that an update has just jumped past: it counts as passed, as if
    // a frame had landed on its end. A window that is empty or ends at the start is never
    // passed (a period of 0 would restart for ever).
    bool StepsOverWindow() const {
        return m_State == kWaiting && m_Head.begin < m_Head.end && m_Head.end > 0;
    }
    void Write(float value);
    void AdvanceChildren(uint32_t time);

    ControllerHead m_Head;
    std::vector<std::shared_ptr<ControllerBase>> m_Children;
    int32_t m_StartTime = -100000;
    int m_State = kWaiting;

  private:
    float* m_TargetSlot = nullptr;  // resolved at the first write that finds the variable
};

}  // namespace ZEL
