#include "Core/Rectangle.h"

#include "Core/CheckResult.h"

namespace ZEL {

std::shared_ptr<Gfx::Geometry> Rectangle::CreateResource() {
    Gfx::RectF r;
    r.left = m_X.Get();
    r.top = m_Y.Get();
    r.right = r.left + m_W.Get();
    r.bottom = r.top + m_H.Get();
    std::shared_ptr<Gfx::Geometry> geometry;
    CheckResult(Gfx::CreateRectangleGeometry(r, &geometry));
    return geometry;
}

}  // namespace ZEL
