#include "Core/SolidColorBrush.h"

namespace ZEL {

std::shared_ptr<Gfx::Brush> SolidColorBrush::CreateResource() {
    const Gfx::BrushProperties props = Properties();
    return std::make_shared<Gfx::SolidColorBrush>(m_Color.Get(), props);
}

}  // namespace ZEL
