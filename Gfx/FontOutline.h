#pragma once
#include <cairo.h>

#include "Gfx/Geometry.h"

namespace Gfx {

// Writes a Cairo path into sink as figures, every one closed (glyph contours always are);
// the sink is left open for the caller. Subpaths without segments are dropped.
void WriteCairoPath(const cairo_path_t& path, GeometrySink* sink);

}  // namespace Gfx
