#include <algorithm>
#include <cmath>

#include "Gfx/FontContext.h"
#include "Gfx/TextNative.h"

namespace Gfx {
namespace {

constexpr float kMaxEmSize = 4096;  // DIPs

PangoStyle ToPango(FontStyle style) {
    switch (style) {
        case FontStyle::Oblique:
            return PANGO_STYLE_OBLIQUE;
        case FontStyle::Italic:
            return PANGO_STYLE_ITALIC;
        default:
            return PANGO_STYLE_NORMAL;
    }
}

bool IsValidStyle(FontStyle style) {
    return style == FontStyle::Normal || style == FontStyle::Oblique || style == FontStyle::Italic;
}

// Pango keeps fonts and fontconfig patterns for every size it has seen for the life of
// the font map, so a size animated frame by frame would grow memory without bound. Text
// is laid out at the nearest size of a 1/8-octave grid instead (in Pango units) and scaled
// to the exact size: with hinting off and positions unrounded, Pango's advances, line
// heights and wrap points scale linearly with the em size.
int LayoutSizeUnits(float emSize) {
    const double grid = std::exp2(std::round(std::log2(double(emSize)) * 8) / 8);
    return std::max(1, static_cast<int>(std::lround(grid * PANGO_SCALE)));
}

bool IsValidFamily(const std::string& family) {
    return !family.empty() && g_utf8_validate(family.data(), family.size(), nullptr);
}

}  // namespace

TextFormat::~TextFormat() = default;

Result TextFormat::Create(const std::string& familyUtf8, int weight, FontStyle style, int stretch,
                          float emSize, const std::string& locale,
                          std::shared_ptr<TextFormat>* out) {
    if (!out) {
        return kInvalidArg;
    }
    out->reset();
    if (!std::isfinite(emSize) || emSize <= 0 || emSize > kMaxEmSize) {
        return kInvalidArg;
    }
    // Weights 1..999 and stretches 1 (ultra-condensed) .. 9 (ultra-expanded), 5 normal.
    if (!IsValidFamily(familyUtf8) || weight < 1 || weight > 999 || stretch < 1 || stretch > 9 ||
        !IsValidStyle(style)) {
        return kInvalidArg;
    }

    std::shared_ptr<TextFormat> format(new TextFormat());
    format->m_EmSize = emSize;
    format->m_Native = std::make_unique<Native>();
    Native& native = *format->m_Native;
    native.locale = locale;
    native.desc = pango_font_description_new();
    pango_font_description_set_family(native.desc, familyUtf8.c_str());
    // Pango knows weights from 100 (thin) to 1000.
    pango_font_description_set_weight(native.desc, static_cast<PangoWeight>(std::max(weight, 100)));
    pango_font_description_set_style(native.desc, ToPango(style));
    pango_font_description_set_stretch(native.desc, static_cast<PangoStretch>(stretch - 1));
    const int layoutUnits = LayoutSizeUnits(emSize);
    native.scale = double(emSize) * PANGO_SCALE / layoutUnits;
    pango_font_description_set_absolute_size(native.desc, layoutUnits);
    *out = std::move(format);
    return kOk;
}

Result TextFormat::SetTextAlignment(TextAlignment a) {
    if (a != TextAlignment::Leading && a != TextAlignment::Trailing && a != TextAlignment::Center) {
        return kInvalidArg;
    }
    m_TextAlign = a;
    return kOk;
}

Result TextFormat::SetParagraphAlignment(ParagraphAlignment a) {
    if (a != ParagraphAlignment::Near && a != ParagraphAlignment::Far &&
        a != ParagraphAlignment::Center) {
        return kInvalidArg;
    }
    m_ParaAlign = a;
    return kOk;
}

}  // namespace Gfx
