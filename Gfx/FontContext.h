#pragma once
#include <pango/pangocairo.h>

namespace Gfx {

// The one Pango context all text formats and layouts share, created at first use and
// kept for the life of the process. Its font options turn hinting off and glyph
// positions are not rounded, so advances and outlines scale smoothly with the em size.
// Pango contexts are not thread-safe: text is laid out on the document's thread only.
PangoContext* SharedPangoContext();

}  // namespace Gfx
