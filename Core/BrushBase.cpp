#include "Core/BrushBase.h"

namespace ZEL {

Gfx::BrushProperties BrushBase::Properties() const {
    Gfx::BrushProperties props;
    props.opacity = m_Opacity.Get();
    return props;
}

}  // namespace ZEL
