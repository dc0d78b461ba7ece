#pragma once
#include "Core/GeometryBase.h"

namespace ZEL {

// The Boolean combination of two geometries of the same document.
class CombinedGeometry : public GeometryBase {
  public:
    CombinedGeometry(std::shared_ptr<GeometryBase> geometry1,
                     std::shared_ptr<GeometryBase> geometry2, Gfx::CombineMode mode)
        : m_Geometry1(std::move(geometry1)), m_Geometry2(std::move(geometry2)), m_Mode(mode) {}
    const std::shared_ptr<GeometryBase>& First() const { return m_Geometry1; }
    const std::shared_ptr<GeometryBase>& Second() const { return m_Geometry2; }

  protected:
    std::shared_ptr<Gfx::Geometry> CreateResource() override;

  private:
    std::shared_ptr<GeometryBase> m_Geometry1, m_Geometry2;
    Gfx::CombineMode m_Mode;
};

}  // namespace ZEL
