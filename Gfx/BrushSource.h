#pragma once
#include <cairo.h>

#include "Gfx/Brush.h"

namespace Gfx {

// Makes brush the source of cr under cr's current matrix, opacity included. Returns false
// when the brush would paint nothing visible (no stops, zero opacity, fully transparent).
// The caller has checked IsPaintable.
bool SetBrushSource(cairo_t* cr, const Brush& brush);

}  // namespace Gfx
