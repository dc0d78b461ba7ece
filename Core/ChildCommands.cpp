#include "Core/ChildCommands.h"

#include "Core/Scenimator.h"

namespace ZEL {

void RenderZelCommand::Execute() {
    const Gfx::Matrix3x2 top = m_Document->GetTopTransform();
    m_Child->Render(top, nullptr);
    // A child that ends with pushes left over (or fails half way) must not move what this
    // document draws next.
    m_Document->ApplyTopTransform();
}

void SetZelVarCommand::Execute() {
    m_Child->WriteVariable(m_Variable, m_Value.Get());
}

}  // namespace ZEL
