#pragma once
#include "Core/ControllerBase.h"
#include "Core/ValueD.h"

namespace ZEL {

// From beginValue at begin to endValue at end; extrapolates outside the window.
class LinearController : public ControllerBase {
  public:
    LinearController(ControllerHead head, ValueD beginValue, ValueD endValue)
        : ControllerBase(std::move(head)), m_BeginValue(beginValue), m_EndValue(endValue) {}
    float ValueAt(int32_t d) override;

  private:
    ValueD m_BeginValue, m_EndValue;
};

}  // namespace ZEL
