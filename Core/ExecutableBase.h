#pragma once
#include "Core/ScenimatorComponent.h"

namespace ZEL {

// A procedure or a single drawing command. Failures are thrown and end the Render pass.
class ExecutableBase : public ScenimatorComponent {
  public:
    virtual void Execute() = 0;
};

}  // namespace ZEL
