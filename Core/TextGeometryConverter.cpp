#include "Core/TextGeometryConverter.h"

namespace ZEL {

Gfx::Result TextGeometryConverter::IsPixelSnappingDisabled(void*, bool* disabled) {
    *disabled = false;
    return Gfx::kOk;
}

Gfx::Result TextGeometryConverter::GetCurrentTransform(void*, Gfx::Matrix3x2* transform) {
    *transform = Gfx::Matrix3x2::Identity();
    return Gfx::kOk;
}

Gfx::Result TextGeometryConverter::GetPixelsPerDip(void*, float* pixelsPerDip) {
    *pixelsPerDip = 1.0f;
    return Gfx::kOk;
}

Gfx::Result TextGeometryConverter::DrawGlyphRun(void*, float baselineX, float baselineY,
                                                const Gfx::GlyphRun& run) {
    Gfx::PathBuilder builder;
    Gfx::Result result = run.fontFace->GetGlyphRunOutline(
        run.emSize, run.glyphIndices.data(), run.glyphAdvances.data(), run.glyphOffsets.data(),
        static_cast<uint32_t>(run.glyphIndices.size()), run.isSideways, run.bidiLevel % 2 == 1,
        &builder);
    if (result != Gfx::kOk) {
        return result;
    }
    result = builder.Close();
    if (result != Gfx::kOk) {
        return result;
    }
    std::shared_ptr<Gfx::Geometry> moved;
    result = Gfx::CreateTransformedGeometry(
        *builder.GetGeometry(), Gfx::Matrix3x2::Translation(baselineX, baselineY), &moved);
    m_Outline = moved;
    return result;
}

Gfx::Result TextGeometryConverter::DrawUnderline(void*, float, float) {
    return Gfx::kNotImplemented;
}

Gfx::Result TextGeometryConverter::DrawStrikethrough(void*, float, float) {
    return Gfx::kNotImplemented;
}

Gfx::Result TextGeometryConverter::DrawInlineObject(void*, float, float) {
    return Gfx::kNotImplemented;
}

}  // namespace ZEL
