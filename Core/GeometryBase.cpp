#include "Core/GeometryBase.h"

namespace ZEL {

void GeometryBase::HitTest(Gfx::Point2F point, bool* hit) {
    if (*hit || !m_HitTest) {
        return;
    }
    auto geometry = GetResource();
    if (!geometry) {
        return;
    }
    bool contains = false;
    if (geometry->FillContainsPoint(point, nullptr, 0.25f, &contains) == Gfx::kOk) {
        *hit = contains;
    }
}

bool GeometryBase::Bounds(const Gfx::Matrix3x2& transform, Gfx::RectF* bounds) {
    auto geometry = GetResource();
    return geometry && geometry->GetBounds(&transform, bounds) == Gfx::kOk;
}

}  // namespace ZEL
