#pragma once
#include "Core/Resource.h"
#include "Core/ValueD.h"
#include "Gfx/Brush.h"

namespace Gfx {
class RenderTarget;
}

namespace ZEL {

class BrushBase : public Resource<Gfx::Brush, CleanupReset> {
  public:
    void SetOpacity(ValueD opacity) { m_Opacity = opacity; }

    Gfx::RenderTarget* m_RT = nullptr;

  protected:
    // Opacity and the identity brush transform.
    Gfx::BrushProperties Properties() const;

  private:
    ValueD m_Opacity{1.0f};
};

}  // namespace ZEL
