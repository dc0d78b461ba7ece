#pragma once
#include <pango/pangocairo.h>

#include <string>

#include "Gfx/Text.h"

namespace Gfx {

// The font Pango picked for a run, as a face that outlines glyphs at any em size.
class PangoFontFace : public FontFace {
  public:
    explicit PangoFontFace(PangoFont* font);
    ~PangoFontFace() override;
    PangoFontFace(const PangoFontFace&) = delete;
    PangoFontFace& operator=(const PangoFontFace&) = delete;

    // The em size (DIPs) the font was loaded at.
    float GetEmSize() const { return m_EmSize; }
    std::string GetFamilyName() const override;
    Result GetGlyphRunOutline(float emSize, const uint32_t* glyphIndices,
                              const float* glyphAdvances, const GlyphOffset* glyphOffsets,
                              uint32_t glyphCount, bool isSideways, bool isRightToLeft,
                              GeometrySink* sink) const override;

  private:
    cairo_scaled_font_t* CreateScaledFont(float emSize) const;

    PangoFont* m_Font;
    float m_EmSize = 0;
    uint32_t m_GlyphCount = 0;  // glyphs in the face; larger indices have no outline
};

}  // namespace Gfx
