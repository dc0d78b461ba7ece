#pragma once
#include <pango/pangocairo.h>

#include <mutex>

namespace Gfx {

// The one Pango context all text formats and layouts share, created at first use and
// kept for the life of the process. Its font options turn hinting off and glyph
// positions are not rounded, so advances and outlines scale smoothly with the em size.
PangoContext* SharedPangoContext();

// Pango's context, font map and fonts, and fontconfig behind them, may not be used by two
// threads at once, so layouts are made, drawn and freed holding this lock; documents on
// different threads then take turns only for text. Recursive: a layout's renderer callbacks
// run under it and may lay out text themselves.
std::unique_lock<std::recursive_mutex> LockPango();

}  // namespace Gfx
