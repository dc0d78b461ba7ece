#pragma once
#include <memory>
#include <string>

#include "Core/ControllerBase.h"

namespace ZEL {

class IScenimator;

// Plays an animation of a child document once, begin ms after its start.
class Trigger : public ControllerBase {
  public:
    Trigger(int32_t begin, std::shared_ptr<IScenimator> targetZel, std::string animation);
    void Advance(uint32_t time) override;
    float ValueAt(int32_t) override { return 0.0f; }
    const std::shared_ptr<IScenimator>& TargetZel() const { return m_TargetZel; }
    const std::string& AnimationName() const { return m_Animation; }

  private:
    std::shared_ptr<IScenimator> m_TargetZel;
    std::string m_Animation;
};

}  // namespace ZEL
