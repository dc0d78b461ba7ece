#pragma once
#include "Core/BrushBase.h"
#include "Core/Composites.h"
#include "Core/GradientStopCollection.h"

namespace ZEL {

class LinearGradientBrush : public BrushBase {
  public:
    LinearGradientBrush(std::shared_ptr<GradientStopCollection> stops, Point start, Point end)
        : m_Stops(std::move(stops)), m_Start(start), m_End(end) {}

  protected:
    std::shared_ptr<Gfx::Brush> CreateResource() override;

  private:
    std::shared_ptr<GradientStopCollection> m_Stops;
    Point m_Start, m_End;
};

}  // namespace ZEL
