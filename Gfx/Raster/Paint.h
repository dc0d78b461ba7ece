#pragma once
#include <cairo.h>

#include <memory>

#include "Gfx/Brush.h"
#include "Gfx/Raster/GradientPaint.h"

namespace Gfx {

// A brush as it paints at one moment: its colour or gradient with the opacity folded in,
// and the map from user space onto the gradient. A value, so a recorded operation keeps
// what the brush was when it was drawn, whatever happens to the brush afterwards.
struct Paint {
    enum class Kind { Solid, Gradient };
    Kind kind = Kind::Solid;
    double r = 0, g = 0, b = 0, a = 0;  // solid: straight colour, opacity in a
    std::shared_ptr<const GradientPaint> gradient;
    cairo_matrix_t toPattern{};  // gradient: user space -> pattern space

    bool operator==(const Paint& o) const;
};

// False when the brush would paint nothing visible (no stops, zero opacity, fully
// transparent, an unusable transform). The caller has checked IsPaintable. Builds and caches
// the brush's gradient, so call it from the drawing thread only.
bool ResolvePaint(const Brush& brush, Paint* out);

// Makes paint the source of cr under cr's current matrix, drawing gradients with Cairo.
// False when Cairo refuses the pattern.
bool SetPaintSource(cairo_t* cr, const Paint& paint);

bool SameMatrix(const cairo_matrix_t& a, const cairo_matrix_t& b);

}  // namespace Gfx
