#include "Gfx/Raster/Paint.h"

#include <algorithm>
#include <cmath>

#include "Gfx/CairoNative.h"

namespace Gfx {

namespace {

using Native = Brush::Native;

// Radii this small (DIPs) give a pattern matrix Cairo cannot invert.
bool RadialDegenerate(const Native& n) {
    return std::fabs(n.rx) < 1e-4 || std::fabs(n.ry) < 1e-4;
}

// A zero-radius ellipse shows only its outermost stop.
void OuterStop(const std::vector<GradientStop>& stops, float opacity, Paint* out) {
    const GradientStop* outer = &stops.front();
    for (const GradientStop& s : stops)
        if (s.position >= outer->position)
            outer = &s;
    out->kind = Paint::Kind::Solid;
    out->r = outer->color.r;
    out->g = outer->color.g;
    out->b = outer->color.b;
    out->a = outer->color.a * opacity;
}

// User space -> pattern space: undo the brush transform, then map onto the pattern.
bool PatternMatrix(const Brush& brush, const Native& n, cairo_matrix_t* out) {
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

std::shared_ptr<const GradientPaint> GradientOf(const Native& n, float opacity) {
    if (n.paint && n.paintOpacity == opacity)
        return n.paint;
    const GradientStopCollection& stops = *n.stops;
    if (n.kind == Native::Kind::Linear) {
        n.paint = std::make_shared<GradientPaint>(GradientPaint::Kind::Linear, n.x0, n.y0, n.x1,
                                                  n.y1, stops.UnitStops(), opacity, stops.Extend());
    } else {
        // Focus at the origin offset measured in radii; the outer circle is the unit circle.
        n.paint =
            std::make_shared<GradientPaint>(GradientPaint::Kind::Radial, n.x1 / n.rx, n.y1 / n.ry,
                                            0, 0, stops.UnitStops(), opacity, stops.Extend());
    }
    n.paintOpacity = opacity;
    return n.paint;
}

}  // namespace

bool SameMatrix(const cairo_matrix_t& a, const cairo_matrix_t& b) {
    return a.xx == b.xx && a.yx == b.yx && a.xy == b.xy && a.yy == b.yy && a.x0 == b.x0 &&
           a.y0 == b.y0;
}

bool Paint::operator==(const Paint& o) const {
    if (kind != o.kind)
        return false;
    if (kind == Kind::Solid)
        return r == o.r && g == o.g && b == o.b && a == o.a;
    return gradient == o.gradient && SameMatrix(toPattern, o.toPattern);
}

bool ResolvePaint(const Brush& brush, Paint* out) {
    const Native& n = *brush.GetNative();
    const float opacity = std::min(brush.GetOpacity(), 1.0f);
    if (!(opacity > 0))
        return false;
    if (n.kind == Native::Kind::Solid) {
        const double alpha = n.color.a * opacity;
        if (!(alpha > 0))
            return false;
        *out = Paint{};
        out->r = n.color.r;
        out->g = n.color.g;
        out->b = n.color.b;
        out->a = alpha;
        return true;
    }
    if (!n.stops || n.stops->Stops().empty())
        return false;  // no stops paint transparent
    if (n.kind == Native::Kind::Radial && RadialDegenerate(n)) {
        *out = Paint{};
        OuterStop(n.stops->UnitStops(), opacity, out);
        return true;
    }
    cairo_matrix_t m;
    if (!PatternMatrix(brush, n, &m))
        return false;
    *out = Paint{};
    out->kind = Paint::Kind::Gradient;
    out->gradient = GradientOf(n, opacity);
    out->toPattern = m;
    return true;
}

bool SetPaintSource(cairo_t* cr, const Paint& paint) {
    if (paint.kind == Paint::Kind::Solid) {
        cairo_set_source_rgba(cr, paint.r, paint.g, paint.b, paint.a);
        return true;
    }
    cairo_pattern_t* pattern = paint.gradient->CreatePattern();
    cairo_pattern_set_matrix(pattern, &paint.toPattern);
    const bool usable = cairo_pattern_status(pattern) == CAIRO_STATUS_SUCCESS;
    if (usable)
        cairo_set_source(cr, pattern);
    cairo_pattern_destroy(pattern);
    return usable;
}

}  // namespace Gfx
