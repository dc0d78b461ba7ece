#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "Gfx/Geometry.h"

namespace Gfx {

enum class FontStyle { Normal, Oblique, Italic };
enum class TextAlignment { Leading, Trailing, Center };
enum class ParagraphAlignment { Near, Far, Center };

constexpr int kFontWeightNormal = 400;
constexpr int kFontStretchNormal = 5;

// Family, weight, style, stretch, em size (DIPs) and locale; families resolve through
// fontconfig, so "Arial" finds its metric-compatible substitute.
class TextFormat {
  public:
    // kInvalidArg for an em size that is not finite, not positive or above 4096.
    static Result Create(const std::string& familyUtf8, int weight, FontStyle style, int stretch,
                         float emSize, const std::string& locale, std::shared_ptr<TextFormat>* out);
    ~TextFormat();
    Result SetTextAlignment(TextAlignment a);
    Result SetParagraphAlignment(ParagraphAlignment a);
    TextAlignment GetTextAlignment() const { return m_TextAlign; }
    ParagraphAlignment GetParagraphAlignment() const { return m_ParaAlign; }
    float GetEmSize() const { return m_EmSize; }

    struct Native;
    const Native* GetNative() const { return m_Native.get(); }

  private:
    TextFormat() = default;
    float m_EmSize = 0;
    TextAlignment m_TextAlign = TextAlignment::Leading;
    ParagraphAlignment m_ParaAlign = ParagraphAlignment::Near;
    std::unique_ptr<Native> m_Native;
};

struct GlyphOffset {
    float advanceOffset = 0;
    float ascenderOffset = 0;
};

class FontFace;

// One run of glyphs of one font and direction, as handed to a TextRenderer.
// Glyphs, advances and offsets in logical order; a right-to-left run's baseline origin
// is its right end. fontFace is valid only during the DrawGlyphRun call.
struct GlyphRun {
    const FontFace* fontFace = nullptr;
    float emSize = 0;
    std::vector<uint32_t> glyphIndices;
    std::vector<float> glyphAdvances;
    std::vector<GlyphOffset> glyphOffsets;
    bool isSideways = false;
    uint32_t bidiLevel = 0;  // odd: right-to-left
};

// Writes glyph outlines relative to the run's baseline origin (0, 0), y down.
class FontFace {
  public:
    virtual ~FontFace() = default;
    // The family the font was resolved to (e.g. "Liberation Sans" for "Arial").
    virtual std::string GetFamilyName() const { return {}; }
    // Closed figures, fill mode Winding. A left-to-right run starts at the origin and
    // advances right; a right-to-left run (glyphs in logical order) advances left, ending
    // left of the origin. Null advances take the font's own, null offsets are zero.
    // Does not call sink->Close(): the sink stays the caller's to close.
    virtual Result GetGlyphRunOutline(float emSize, const uint32_t* glyphIndices,
                                      const float* glyphAdvances, const GlyphOffset* glyphOffsets,
                                      uint32_t glyphCount, bool isSideways, bool isRightToLeft,
                                      GeometrySink* sink) const = 0;
};

// Callbacks a layout makes while it is drawn. A failure code returned from any of them
// ends TextLayout::Draw with that code.
class TextRenderer {
  public:
    virtual ~TextRenderer() = default;
    virtual Result IsPixelSnappingDisabled(void* context, bool* disabled) = 0;
    virtual Result GetCurrentTransform(void* context, Matrix3x2* transform) = 0;
    virtual Result GetPixelsPerDip(void* context, float* pixelsPerDip) = 0;
    // baselineX/Y already include the layout origin, the line position and alignment.
    virtual Result DrawGlyphRun(void* context, float baselineX, float baselineY,
                                const GlyphRun& run) = 0;
    virtual Result DrawUnderline(void* context, float baselineX, float baselineY) = 0;
    virtual Result DrawStrikethrough(void* context, float baselineX, float baselineY) = 0;
    virtual Result DrawInlineObject(void* context, float originX, float originY) = 0;
};

// A UTF-8 string laid out in a box of maxWidth x maxHeight: wrapped at the box width at
// break opportunities (inside a word when the word alone is wider), aligned per format.
class TextLayout {
  public:
    // kInvalidArg for text that is not valid UTF-8 (or holds a NUL) and for a box width or
    // height that is negative or not finite. The text may overflow the box's height;
    // centring still applies.
    static Result Create(const std::string& textUtf8, const TextFormat& format, float maxWidth,
                         float maxHeight, std::shared_ptr<TextLayout>* out);
    ~TextLayout();
    // Calls renderer->DrawGlyphRun once per run in visual order (lines top to bottom). An
    // empty text calls it never and succeeds.
    Result Draw(void* context, TextRenderer* renderer, float originX, float originY) const;

    struct Native;

  private:
    TextLayout() = default;
    float m_MaxWidth = 0, m_MaxHeight = 0;
    std::unique_ptr<Native> m_Native;
};

}  // namespace Gfx
