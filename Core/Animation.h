#pragma once
#include <memory>
#include <string>

#include "Core/ScenimatorComponent.h"

namespace ZEL {

class ControllerBase;
class ExecutableBase;

// A scene: the procedure that draws it, the root controller that moves it, and the animation
// to play when that controller finishes ("null" for none).
class Animation : public ScenimatorComponent {
  public:
    Animation(std::shared_ptr<ExecutableBase> renderFunction,
              std::shared_ptr<ControllerBase> controller, std::string transitionTarget)
        : m_RenderFunction(std::move(renderFunction)),
          m_Controller(std::move(controller)),
          m_TransitionTarget(std::move(transitionTarget)) {}

    bool m_Active = false;
    std::shared_ptr<ExecutableBase> m_RenderFunction;
    std::shared_ptr<ControllerBase> m_Controller;
    std::string m_TransitionTarget;
};

}  // namespace ZEL
