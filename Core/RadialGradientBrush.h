#pragma once
#include "Core/BrushBase.h"
#include "Core/Composites.h"
#include "Core/GradientStopCollection.h"

namespace ZEL {

class RadialGradientBrush : public BrushBase {
  public:
    RadialGradientBrush(std::shared_ptr<GradientStopCollection> stops, Point center,
                        Point originOffset, ValueD radiusX, ValueD radiusY)
        : m_Stops(std::move(stops)),
          m_Center(center),
          m_OriginOffset(originOffset),
          m_RadiusX(radiusX),
          m_RadiusY(radiusY) {}

  protected:
    std::shared_ptr<Gfx::Brush> CreateResource() override;

  private:
    std::shared_ptr<GradientStopCollection> m_Stops;
    Point m_Center, m_OriginOffset;
    ValueD m_RadiusX, m_RadiusY;
};

}  // namespace ZEL
