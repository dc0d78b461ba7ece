#include "Gfx/BrushSource.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "Gfx/CairoNative.h"

namespace Gfx {

namespace {

using Native = Brush::Native;

cairo_extend_t ToCairo(ExtendMode mode) {
    switch (mode) {
        case ExtendMode::Wrap:
            return CAIRO_EXTEND_REPEAT;
        case ExtendMode::Mirror:
            return CAIRO_EXTEND_REFLECT;
        case ExtendMode::Clamp:
        default:
            return CAIRO_EXTEND_PAD;
    }
}

// Radii this small (DIPs) give a pattern matrix Cairo cannot invert.
bool RadialDegenerate(const Native& n) {
    return std::fabs(n.rx) < 1e-4 || std::fabs(n.ry) < 1e-4;
}

// A zero-radius ellipse shows only its outermost stop.
cairo_pattern_t* OuterStopPattern(const std::vector<GradientStop>& stops, float opacity) {
    const GradientStop* outer = &stops.front();
    for (const GradientStop& s : stops)
        if (s.position >= outer->position)
            outer = &s;
    const ColorF& c = outer->color;
    return cairo_pattern_create_rgba(c.r, c.g, c.b, c.a * opacity);
}

cairo_pattern_t* BuildPattern(const Native& n, float opacity) {
    const GradientStopCollection& collection = *n.stops;
    const std::vector<GradientStop>& stops = collection.Stops();
    cairo_pattern_t* pattern;
    if (n.kind == Native::Kind::Linear) {
        pattern = cairo_pattern_create_linear(n.x0, n.y0, n.x1, n.y1);
    } else if (RadialDegenerate(n)) {
        return OuterStopPattern(collection.UnitStops(), opacity);
    } else {
        // Focus at the origin offset measured in radii; the outer circle is the unit circle.
        pattern = cairo_pattern_create_radial(n.x1 / n.rx, n.y1 / n.ry, 0, 0, 0, 1);
    }
    // Cairo keeps stops of equal offset in the order added, so document order survives.
    for (const GradientStop& s : collection.UnitStops())
        cairo_pattern_add_color_stop_rgba(pattern, s.position, s.color.r, s.color.g, s.color.b,
                                          s.color.a * opacity);
    cairo_pattern_set_extend(pattern, ToCairo(collection.Extend()));
    return pattern;
}

bool EnsurePattern(const Native& n, float opacity) {
    if (n.pattern && n.patternOpacity == opacity)
        return true;
    if (n.pattern)
        cairo_pattern_destroy(n.pattern);
    n.pattern = BuildPattern(n, opacity);
    n.patternOpacity = opacity;
    std::memset(&n.patternMatrix, 0, sizeof n.patternMatrix);  // forces the first set
    if (cairo_pattern_status(n.pattern) == CAIRO_STATUS_SUCCESS)
        return true;
    cairo_pattern_destroy(n.pattern);
    n.pattern = nullptr;
    return false;
}

bool SameMatrix(const cairo_matrix_t& a, const cairo_matrix_t& b) {
    return a.xx == b.xx && a.yx == b.yx && a.xy == b.xy && a.yy == b.yy && a.x0 == b.x0 &&
           a.y0 == b.y0;
}

// User space -> pattern space: undo the brush transform, then map onto the pattern.
bool PatternMatrix(const Brush& brush, const Native& n, cairo_matrix_t* out) {
    const bool solid = n.kind == Native::Kind::Radial && RadialDegenerate(n);
    if (solid) {
        cairo_matrix_init_identity(out);
        return true;
    }
    if (brush.GetTransform() == Matrix3x2::Identity()) {
        *out = n.base;
        return true;
    }
    cairo_matrix_t inverse = ToCairo(brush.GetTransform());
    if (!IsUsableCairoMatrix(inverse) || cairo_matrix_invert(&inverse) != CAIRO_STATUS_SUCCESS)
        return false;
    cairo_matrix_multiply(out, &inverse, &n.base);
    return IsUsableCairoMatrix(*out);
}

}  // namespace

bool SetBrushSource(cairo_t* cr, const Brush& brush) {
    const Native& n = *brush.GetNative();
    const float opacity = std::min(brush.GetOpacity(), 1.0f);
    if (!(opacity > 0))
        return false;
    if (n.kind == Native::Kind::Solid) {
        const double alpha = n.color.a * opacity;
        if (!(alpha > 0))
            return false;
        cairo_set_source_rgba(cr, n.color.r, n.color.g, n.color.b, alpha);
        return true;
    }
    if (!n.stops || n.stops->Stops().empty())
        return false;  // no stops paint transparent
    cairo_matrix_t m;
    if (!PatternMatrix(brush, n, &m) || !EnsurePattern(n, opacity))
        return false;
    if (!SameMatrix(m, n.patternMatrix)) {
        cairo_pattern_set_matrix(n.pattern, &m);
        n.patternMatrix = m;
    }
    cairo_set_source(cr, n.pattern);
    return true;
}

}  // namespace Gfx
