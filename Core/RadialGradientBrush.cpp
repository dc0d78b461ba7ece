#include "Core/RadialGradientBrush.h"

namespace ZEL {

std::shared_ptr<Gfx::Brush> RadialGradientBrush::CreateResource() {
    const Gfx::BrushProperties props = Properties();
    const Gfx::Point2F offset = m_OriginOffset.Get();
    const Gfx::Point2F center = m_Center.Get();
    const float rx = m_RadiusX.Get();
    const float ry = m_RadiusY.Get();
    return std::make_shared<Gfx::RadialGradientBrush>(center, offset, rx, ry,
                                                      m_Stops->GetResource(), props);
}

}  // namespace ZEL
