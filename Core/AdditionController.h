#pragma once
#include "Core/ControllerBase.h"

namespace ZEL {

// The float sum of the children's values at the same d, whatever their windows.
class AdditionController : public ControllerBase {
  public:
    explicit AdditionController(ControllerHead head) : ControllerBase(std::move(head)) {}
    float ValueAt(int32_t d) override {
        float sum = 0.0f;
        for (const auto& child : m_Children) {
            sum += child->ValueAt(d);
        }
        return sum;
    }
};

}  // namespace ZEL
