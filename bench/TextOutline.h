#pragma once
#include "Gfx/Geometry.h"
#include "Scene.h"

namespace Bench {

// The outline the engine fills for a text shape: laid out by the document's own Text block,
// so that a peer without a text engine fills exactly the engine's glyphs. Empty when nothing
// is laid out; throws with the engine's text when the layout fails.
Gfx::PathData TextOutline(const Shape& text);

}  // namespace Bench
