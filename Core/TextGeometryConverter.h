#pragma once
#include <memory>

#include "Gfx/Text.h"

namespace ZEL {

// Receives the glyph runs of a layout and keeps the outline of the last run drawn, moved to
// its baseline origin.
class TextGeometryConverter : public Gfx::TextRenderer {
  public:
    Gfx::Result IsPixelSnappingDisabled(void* context, bool* disabled) override;
    Gfx::Result GetCurrentTransform(void* context, Gfx::Matrix3x2* transform) override;
    Gfx::Result GetPixelsPerDip(void* context, float* pixelsPerDip) override;
    Gfx::Result DrawGlyphRun(void* context, float baselineX, float baselineY,
                             const Gfx::GlyphRun& run) override;
    Gfx::Result DrawUnderline(void* context, float baselineX, float baselineY) override;
    Gfx::Result DrawStrikethrough(void* context, float baselineX, float baselineY) override;
    Gfx::Result DrawInlineObject(void* context, float originX, float originY) override;

    std::shared_ptr<Gfx::Geometry> Outline() const { return m_Outline; }

  private:
    std::shared_ptr<Gfx::Geometry> m_Outline;
};

}  // namespace ZEL
