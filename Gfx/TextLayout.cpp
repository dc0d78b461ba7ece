#include <algorithm>
#include <cmath>

#include "Gfx/FontContext.h"
#include "Gfx/FontFacePango.h"
#include "Gfx/TextNative.h"

namespace Gfx {
namespace {

// Pango measures widths in ints of 1/1024 layout unit; no line of text comes near this.
constexpr double kMaxPangoWidth = 1 << 30;

PangoAlignment ToPango(TextAlignment a) {
    switch (a) {
        case TextAlignment::Trailing:
            return PANGO_ALIGN_RIGHT;
        case TextAlignment::Center:
            return PANGO_ALIGN_CENTER;
        default:
            return PANGO_ALIGN_LEFT;
    }
}

// How far into the spare width of a line a left-to-right line is placed.
double AlignmentFraction(TextAlignment a) {
    switch (a) {
        case TextAlignment::Trailing:
            return 1;
        case TextAlignment::Center:
            return 0.5;
        default:
            return 0;
    }
}

// DIPs from the box top to the layout top; negative when centred text overflows the box.
float VerticalOffset(ParagraphAlignment a, float boxHeight, float layoutHeight) {
    switch (a) {
        case ParagraphAlignment::Center:
            return (boxHeight - layoutHeight) / 2;
        case ParagraphAlignment::Far:
            return boxHeight - layoutHeight;
        default:
            return 0;
    }
}

// Language for shaping and line breaking; breaks inside a long word add no hyphen.
void SetAttributes(PangoLayout* layout, const std::string& locale) {
    PangoAttrList* attrs = pango_attr_list_new();
    pango_attr_list_insert(attrs, pango_attr_insert_hyphens_new(FALSE));
    if (!locale.empty()) {
        pango_attr_list_insert(attrs,
                               pango_attr_language_new(pango_language_from_string(locale.c_str())));
    }
    pango_layout_set_attributes(layout, attrs);
    pango_attr_list_unref(attrs);
}

class LayoutIter {
  public:
    explicit LayoutIter(PangoLayout* layout) : m_Iter(pango_layout_get_iter(layout)) {}
    ~LayoutIter() { pango_layout_iter_free(m_Iter); }
    LayoutIter(const LayoutIter&) = delete;
    LayoutIter& operator=(const LayoutIter&) = delete;
    PangoLayoutIter* get() const { return m_Iter; }

  private:
    PangoLayoutIter* m_Iter;
};

// Where baselines go on the renderer's device: snapped to whole device pixels vertically
// unless the renderer turns that off or its transform turns the lines.
struct Snapping {
    bool on = false;
    double scale = 1, offset = 0;  // DIPs to device pixels, vertically

    double Baseline(double y) const {
        return on ? (std::floor((y * scale + offset) + 0.5) - offset) / scale : y;
    }
};

Result QueryRenderer(void* context, TextRenderer* renderer, Snapping* snapping) {
    bool snappingDisabled = false;
    Matrix3x2 transform;
    float pixelsPerDip = 1;
    Result r = renderer->IsPixelSnappingDisabled(context, &snappingDisabled);
    if (!Failed(r)) {
        r = renderer->GetCurrentTransform(context, &transform);
    }
    if (!Failed(r)) {
        r = renderer->GetPixelsPerDip(context, &pixelsPerDip);
    }
    const double scale = double(transform.m22) * pixelsPerDip;
    snapping->on = !snappingDisabled && transform.m12 == 0 && transform.m21 == 0 &&
                   std::isfinite(scale) && scale != 0 && std::isfinite(transform.dy);
    snapping->scale = scale;
    snapping->offset = double(transform.dy) * pixelsPerDip;
    return r;
}

// Pango hands a right-to-left run's glyphs in visual order (leftmost first); a GlyphRun
// holds them in logical order, so those are reversed, and a positive x offset (to the
// right) becomes a negative advance offset (which points left in such a run).
void FillGlyphs(const PangoGlyphString& glyphs, bool rtl, double scale, GlyphRun* run) {
    const double toDips = scale / PANGO_SCALE;
    const int n = glyphs.num_glyphs;
    run->glyphIndices.resize(n);
    run->glyphAdvances.resize(n);
    run->glyphOffsets.resize(n);
    for (int i = 0; i < n; ++i) {
        const PangoGlyphInfo& info = glyphs.glyphs[rtl ? n - 1 - i : i];
        // A character no font covers draws as the face's .notdef glyph.
        const bool unknown = (info.glyph & PANGO_GLYPH_UNKNOWN_FLAG) != 0;
        run->glyphIndices[i] = unknown ? 0 : info.glyph;
        run->glyphAdvances[i] = static_cast<float>(info.geometry.width * toDips);
        const float xOffset = static_cast<float>(info.geometry.x_offset * toDips);
        run->glyphOffsets[i].advanceOffset = rtl ? -xOffset : xOffset;
        run->glyphOffsets[i].ascenderOffset = static_cast<float>(-info.geometry.y_offset * toDips);
    }
}

// The baseline origin is where the run's first glyph in logical order starts on the
// baseline: the run's left edge for left-to-right text, its right edge for right-to-left.
Result DrawRun(void* context, TextRenderer* renderer, const Snapping& snapping,
               PangoLayoutIter* iter, const PangoLayoutRun& run, double scale, double layoutX,
               double layoutY) {
    const double toDips = scale / PANGO_SCALE;
    const bool rtl = run.item->analysis.level % 2 == 1;
    PangoFontFace face(run.item->analysis.font);
    GlyphRun glyphRun;
    glyphRun.fontFace = &face;
    glyphRun.emSize = static_cast<float>(face.GetEmSize() * scale);
    glyphRun.bidiLevel = run.item->analysis.level;
    FillGlyphs(*run.glyphs, rtl, scale, &glyphRun);

    PangoRectangle logical;
    pango_layout_iter_get_run_extents(iter, nullptr, &logical);
    int x = logical.x;  // includes the line's alignment offset
    if (rtl) {
        x += pango_glyph_string_get_width(run.glyphs);
    }
    // A run's y_offset raises it above the line's baseline.
    const int y = pango_layout_iter_get_baseline(iter) - run.y_offset;
    return renderer->DrawGlyphRun(context, static_cast<float>(layoutX + x * toDips),
                                  static_cast<float>(snapping.Baseline(layoutY + y * toDips)),
                                  glyphRun);
}

}  // namespace

TextLayout::~TextLayout() {
    // Freeing the layout may free the last use of a font in the shared font map.
    const auto lock = LockPango();
    m_Native.reset();
}

Result TextLayout::Create(const std::string& textUtf8, const TextFormat& format, float maxWidth,
                          float maxHeight, std::shared_ptr<TextLayout>* out) {
    if (!out) {
        return kInvalidArg;
    }
    out->reset();
    // Embedded NULs fail validation too: Pango would cut the text there.
    if (!format.GetNative() || !g_utf8_validate(textUtf8.data(), textUtf8.size(), nullptr)) {
        return kInvalidArg;
    }
    if (!std::isfinite(maxWidth) || maxWidth < 0 || !std::isfinite(maxHeight) || maxHeight < 0) {
        return kInvalidArg;
    }

    const auto lock = LockPango();
    std::shared_ptr<TextLayout> result(new TextLayout());
    result->m_MaxWidth = maxWidth;
    result->m_MaxHeight = maxHeight;
    result->m_Native = std::make_unique<Native>();
    const double scale = format.GetNative()->scale;
    result->m_Native->scale = scale;
    PangoLayout* layout = pango_layout_new(SharedPangoContext());
    result->m_Native->layout = layout;

    pango_layout_set_font_description(layout, format.GetNative()->desc);
    SetAttributes(layout, format.GetNative()->locale);
    // The width is set for every alignment: it is both the wrap width and the box that
    // centring and trailing alignment measure against.
    const double width = double(maxWidth) / scale * PANGO_SCALE;
    pango_layout_set_width(layout, static_cast<int>(std::lround(std::min(width, kMaxPangoWidth))));
    if (width > kMaxPangoWidth) {
        // A box wider than Pango's range: align the widest layout Pango takes inside it.
        const double excess = maxWidth - kMaxPangoWidth * scale / PANGO_SCALE;
        result->m_Native->offsetX =
            static_cast<float>(excess * AlignmentFraction(format.GetTextAlignment()));
    }
    pango_layout_set_wrap(layout, PANGO_WRAP_WORD_CHAR);
    pango_layout_set_alignment(layout, ToPango(format.GetTextAlignment()));
    pango_layout_set_text(layout, textUtf8.data(), static_cast<int>(textUtf8.size()));

    PangoRectangle logical;
    pango_layout_get_extents(layout, nullptr, &logical);
    const float top = static_cast<float>(logical.y * scale / PANGO_SCALE);
    const float height = static_cast<float>(logical.height * scale / PANGO_SCALE);
    result->m_Native->offsetY =
        VerticalOffset(format.GetParagraphAlignment(), maxHeight, height) - top;
    *out = std::move(result);
    return kOk;
}

Result TextLayout::Draw(void* context, TextRenderer* renderer, float originX, float originY) const {
    if (!renderer || !m_Native) {
        return kInvalidArg;
    }
    // Lines are shaped lazily, at the first iteration, and the runs' fonts are shared.
    const auto lock = LockPango();
    Snapping snapping;
    Result r = QueryRenderer(context, renderer, &snapping);
    if (Failed(r)) {
        return r;
    }
    LayoutIter iter(m_Native->layout);
    do {
        const PangoLayoutRun* run = pango_layout_iter_get_run_readonly(iter.get());
        if (!run || !run->item->analysis.font) {
            continue;  // the end of a line, or a run no font could be found for
        }
        r = DrawRun(context, renderer, snapping, iter.get(), *run, m_Native->scale,
                    double(originX) + m_Native->offsetX, double(originY) + m_Native->offsetY);
        if (Failed(r)) {
            return r;
        }
    } while (pango_layout_iter_next_run(iter.get()));
    return kOk;
}

}  // namespace Gfx
