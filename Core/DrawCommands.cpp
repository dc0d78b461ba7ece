#include "Core/DrawCommands.h"

#include "Core/AntialiasGuard.h"
#include "Core/Bitmap.h"
#include "Core/Masks.h"
#include "Gfx/RenderTarget.h"

namespace ZEL {

namespace {

// An empty text has no geometry; it draws nothing.
void FillDirect(Gfx::RenderTarget* rt, BrushBase& brushResource, GeometryBase& geometryResource) {
    AntialiasGuard smooth(rt);
    auto brush = brushResource.GetResource();
    auto geometry = geometryResource.GetResource();
    if (geometry) {
        rt->FillGeometry(*geometry, *brush);
    }
}

void StrokeDirect(Gfx::RenderTarget* rt, BrushBase& brushResource, GeometryBase& geometryResource,
                  float width) {
    AntialiasGuard smooth(rt);
    auto brush = brushResource.GetResource();
    auto geometry = geometryResource.GetResource();
    if (geometry) {
        rt->DrawGeometry(*geometry, *brush, width);
    }
}

}  // namespace

void FillCommand::Execute() {
    if (!m_Geometry->dependsOnVariables) {
        if (auto mask = GetFillMask(*m_Geometry, m_RT)) {
            FillThroughMask(*mask, *m_Brush->GetResource(), m_RT);
            return;
        }
    }
    FillDirect(m_RT, *m_Brush, *m_Geometry);
}

void StrokeCommand::Execute() {
    if (!m_Geometry->dependsOnVariables) {
        if (auto mask = GetStrokeMask(*m_Geometry, m_Width.Get(), m_RT)) {
            FillThroughMask(*mask, *m_Brush->GetResource(), m_RT);
            return;
        }
    }
    StrokeDirect(m_RT, *m_Brush, *m_Geometry, m_Width.Get());
}

void DrawImageCommand::Execute() {
    AntialiasGuard smooth(m_RT);
    const Gfx::RectF dest = m_DestRect.Get();
    const Gfx::RectF src = m_SrcRect.Get();
    auto bitmap = m_Source->GetResource();
    const float opacity = m_Opacity.Get();
    m_RT->DrawBitmap(*bitmap, dest, opacity, src);
}

}  // namespace ZEL
