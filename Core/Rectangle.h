#pragma once
#include "Core/GeometryBase.h"
#include "Core/ValueD.h"

namespace ZEL {

class Rectangle : public GeometryBase {
  public:
    Rectangle(ValueD x, ValueD y, ValueD w, ValueD h) : m_X(x), m_Y(y), m_W(w), m_H(h) {}

  protected:
    std::shared_ptr<Gfx::Geometry> CreateResource() override;

  private:
    ValueD m_X, m_Y, m_W, m_H;
};

}  // namespace ZEL
