#pragma once
#include "Core/ControllerBase.h"
#include "Core/ValueD.h"

namespace ZEL {

class ConstController : public ControllerBase {
  public:
    ConstController(ControllerHead head, ValueD value)
        : ControllerBase(std::move(head)), m_Value(value) {}
    float ValueAt(int32_t) override { return m_Value.Get(); }

  private:
    ValueD m_Value;
};

}  // namespace ZEL
