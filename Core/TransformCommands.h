#pragma once
#include <memory>

#include "Core/ExecutableBase.h"
#include "Core/Transforms.h"

namespace ZEL {

class PushTransformCommand : public ExecutableBase {
  public:
    explicit PushTransformCommand(std::shared_ptr<TransformResource> transform)
        : m_Transform(std::move(transform)) {}
    void Execute() override;
    const std::shared_ptr<TransformResource>& Transform() const { return m_Transform; }

  private:
    std::shared_ptr<TransformResource> m_Transform;
};

class PopTransformCommand : public ExecutableBase {
  public:
    void Execute() override;
};

// Records the current transform; HitTest maps points back through it.
class CaptureHitTestTransformCommand : public ExecutableBase {
  public:
    void Execute() override;
};

}  // namespace ZEL
