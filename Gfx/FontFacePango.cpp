#include "Gfx/FontFacePango.h"

#include <cmath>
#include <vector>

#include "Gfx/FontOutline.h"
#include "Gfx/ScratchContext.h"

namespace Gfx {
namespace {

class ScaledFontRef {
  public:
    explicit ScaledFontRef(cairo_scaled_font_t* font) : m_Font(font) {}
    ~ScaledFontRef() {
        if (m_Font) {
            cairo_scaled_font_destroy(m_Font);
        }
    }
    ScaledFontRef(const ScaledFontRef&) = delete;
    ScaledFontRef& operator=(const ScaledFontRef&) = delete;
    cairo_scaled_font_t* get() const { return m_Font; }

  private:
    cairo_scaled_font_t* m_Font;
};

class PathRef {
  public:
    explicit PathRef(cairo_path_t* path) : m_Path(path) {}
    ~PathRef() { cairo_path_destroy(m_Path); }
    PathRef(const PathRef&) = delete;
    PathRef& operator=(const PathRef&) = delete;
    const cairo_path_t& operator*() const { return *m_Path; }
    cairo_path_t& operator*() { return *m_Path; }

  private:
    cairo_path_t* m_Path;
};

// Empty glyphs (zero-width characters) and invalid input carry an advance but no outline.
bool HasOutline(uint32_t glyph, uint32_t glyphCount) {
    return glyph < glyphCount && glyph != PANGO_GLYPH_EMPTY;
}

double DefaultAdvance(cairo_scaled_font_t* font, uint32_t glyph) {
    cairo_glyph_t g{glyph, 0, 0};
    cairo_text_extents_t extents;
    cairo_scaled_font_glyph_extents(font, &g, 1, &extents);
    return extents.x_advance;
}

// Glyph origins relative to the run's baseline origin. Left-to-right runs advance to the
// right. Right-to-left runs come in logical order and advance to the left: glyph i
// occupies [-(a0 + ... + ai), -(a0 + ... + ai-1)], so the run ends at the origin's left,
// and a positive advance offset moves a glyph further left, in its reading direction.
// Ascender offsets move glyphs up (y down here).
std::vector<cairo_glyph_t> PlaceGlyphs(cairo_scaled_font_t* font, const uint32_t* indices,
                                       const float* advances, const GlyphOffset* offsets,
                                       uint32_t count, uint32_t glyphsInFace, bool rtl) {
    std::vector<cairo_glyph_t> placed;
    placed.reserve(count);
    const double dir = rtl ? -1.0 : 1.0;
    double pen = 0;
    for (uint32_t i = 0; i < count; ++i) {
        const double advance = advances ? advances[i] : DefaultAdvance(font, indices[i]);
        const double start = rtl ? pen - advance : pen;
        pen += dir * advance;
        if (!HasOutline(indices[i], glyphsInFace)) {
            continue;
        }
        const double dx = offsets ? dir * offsets[i].advanceOffset : 0;
        const double dy = offsets ? -offsets[i].ascenderOffset : 0;
        // On the 1/256 grid Cairo keeps outline points on, as it would have put them.
        const auto grid = [](double v) { return std::round(v * 256) / 256; };
        placed.push_back({indices[i], grid(start + dx), grid(dy)});
    }
    return placed;
}

bool AllFinite(const float* advances, const GlyphOffset* offsets, uint32_t count) {
    for (uint32_t i = 0; i < count; ++i) {
        if (advances && !std::isfinite(advances[i])) {
            return false;
        }
        if (offsets && !(std::isfinite(offsets[i].advanceOffset) &&
                         std::isfinite(offsets[i].ascenderOffset))) {
            return false;
        }
    }
    return true;
}

}  // namespace

PangoFontFace::PangoFontFace(PangoFont* font) : m_Font(PANGO_FONT(g_object_ref(font))) {
    PangoFontDescription* desc = pango_font_describe_with_absolute_size(m_Font);
    m_EmSize = static_cast<float>(pango_font_description_get_size(desc)) / PANGO_SCALE;
    pango_font_description_free(desc);
    hb_font_t* hb = pango_font_get_hb_font(m_Font);
    m_GlyphCount = hb ? hb_face_get_glyph_count(hb_font_get_face(hb)) : 0;
}

PangoFontFace::~PangoFontFace() {
    g_object_unref(m_Font);
}

std::string PangoFontFace::GetFamilyName() const {
    PangoFontDescription* desc = pango_font_describe(m_Font);
    const char* family = pango_font_description_get_family(desc);
    std::string name = family ? family : "";
    pango_font_description_free(desc);
    return name;
}

// The face's own font at its own size keeps Cairo's glyph path cache warm; other sizes
// scale its font matrix, which keeps any synthetic slant of the face.
cairo_scaled_font_t* PangoFontFace::CreateScaledFont(float emSize) const {
    cairo_scaled_font_t* base = pango_cairo_font_get_scaled_font(PANGO_CAIRO_FONT(m_Font));
    if (!base || cairo_scaled_font_status(base) != CAIRO_STATUS_SUCCESS) {
        return nullptr;
    }
    if (emSize == m_EmSize || m_EmSize <= 0) {
        return m_EmSize > 0 ? cairo_scaled_font_reference(base) : nullptr;
    }
    cairo_matrix_t fontMatrix, ctm;
    cairo_scaled_font_get_font_matrix(base, &fontMatrix);
    cairo_matrix_scale(&fontMatrix, emSize / m_EmSize, emSize / m_EmSize);
    cairo_scaled_font_get_ctm(base, &ctm);
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_scaled_font_get_font_options(base, options);
    cairo_scaled_font_t* scaled =
        cairo_scaled_font_create(cairo_scaled_font_get_font_face(base), &fontMatrix, &ctm, options);
    cairo_font_options_destroy(options);
    return scaled;
}

Result PangoFontFace::GetGlyphRunOutline(float emSize, const uint32_t* glyphIndices,
                                         const float* glyphAdvances,
                                         const GlyphOffset* glyphOffsets, uint32_t glyphCount,
                                         bool isSideways, bool isRightToLeft,
                                         GeometrySink* sink) const {
    if (!sink || (glyphCount > 0 && !glyphIndices) || !std::isfinite(emSize) || emSize <= 0) {
        return kInvalidArg;
    }
    if (!AllFinite(glyphAdvances, glyphOffsets, glyphCount)) {
        return kInvalidArg;
    }
    // Layouts here never produce vertical (sideways) runs.
    if (isSideways) {
        return kNotImplemented;
    }
    ScaledFontRef font(CreateScaledFont(emSize));
    if (!font.get() || cairo_scaled_font_status(font.get()) != CAIRO_STATUS_SUCCESS) {
        return kFail;
    }
    const std::vector<cairo_glyph_t> glyphs =
        PlaceGlyphs(font.get(), glyphIndices, glyphAdvances, glyphOffsets, glyphCount, m_GlyphCount,
                    isRightToLeft);

    // Paths need a context but nothing is drawn into it: the thread's own scratch one, as
    // a context on a surface shared between threads would race on the surface's state.
    ScratchContext cr;
    cairo_set_scaled_font(cr.Get(), font.get());
    sink->SetFillMode(FillMode::Winding);
    // Glyph by glyph, each outlined at the origin and then moved, so that equal glyphs have
    // equal outlines about their origins (Cairo rounds outline points to 1/256 pixel where
    // they land), and announced with its origin so its coverage can be kept.
    for (const cairo_glyph_t& glyph : glyphs) {
        const cairo_glyph_t atOrigin{glyph.index, 0, 0};
        cairo_new_path(cr.Get());
        cairo_glyph_path(cr.Get(), &atOrigin, 1);
        PathRef path(cairo_copy_path(cr.Get()));
        if ((*path).status != CAIRO_STATUS_SUCCESS) {
            return kFail;
        }
        cairo_path_t& moved = *path;
        for (int i = 0; i < moved.num_data; i += moved.data[i].header.length) {
            for (int k = 1; k < moved.data[i].header.length; ++k) {
                moved.data[i + k].point.x += glyph.x;
                moved.data[i + k].point.y += glyph.y;
            }
        }
        sink->BeginGlyph({static_cast<float>(glyph.x), static_cast<float>(glyph.y)});
        WriteCairoPath(moved, sink);
    }
    return kOk;
}

}  // namespace Gfx
