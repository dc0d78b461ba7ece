#include "Core/Ellipse.h"

#include "Core/CheckResult.h"

namespace ZEL {

std::shared_ptr<Gfx::Geometry> Ellipse::CreateResource() {
    const Gfx::Point2F center = m_Center.Get();
    const float rx = m_RadiusX.Get();
    const float ry = m_RadiusY.Get();
    std::shared_ptr<Gfx::Geometry> geometry;
    CheckResult(Gfx::CreateEllipseGeometry(center, rx, ry, &geometry));
    return geometry;
}

}  // namespace ZEL
