#include "Core/LinearGradientBrush.h"

namespace ZEL {

std::shared_ptr<Gfx::Brush> LinearGradientBrush::CreateResource() {
    const Gfx::BrushProperties props = Properties();
    const Gfx::Point2F end = m_End.Get();
    const Gfx::Point2F start = m_Start.Get();
    return std::make_shared<Gfx::LinearGradientBrush>(start, end, m_Stops->GetResource(), props);
}

}  // namespace ZEL
