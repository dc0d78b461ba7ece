#pragma once
#include "Core/Composites.h"
#include "Core/GeometryBase.h"

namespace ZEL {

class Ellipse : public GeometryBase {
  public:
    Ellipse(Point center, ValueD radiusX, ValueD radiusY)
        : m_Center(center), m_RadiusX(radiusX), m_RadiusY(radiusY) {}

  protected:
    std::shared_ptr<Gfx::Geometry> CreateResource() override;

  private:
    Point m_Center;
    ValueD m_RadiusX, m_RadiusY;
};

}  // namespace ZEL
