#pragma once
#include <cairo.h>

#include "Scene.h"

namespace Bench {

// The scene at time t drawn with plain Cairo calls, as a program using Cairo directly would:
// antialiased, gradients through Cairo's patterns, text through Cairo's own outlines.
void DrawWithCairo(cairo_t* cr, const Scene& scene, uint32_t t, cairo_surface_t* bitmap);

}  // namespace Bench
