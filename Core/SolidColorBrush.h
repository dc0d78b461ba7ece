#pragma once
#include "Core/BrushBase.h"
#include "Core/Composites.h"

namespace ZEL {

class SolidColorBrush : public BrushBase {
  public:
    explicit SolidColorBrush(Color color) : m_Color(color) {}

  protected:
    std::shared_ptr<Gfx::Brush> CreateResource() override;

  private:
    Color m_Color;
};

}  // namespace ZEL
