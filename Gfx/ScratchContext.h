#pragma once
#include <cairo.h>

namespace Gfx {

// A Cairo context on a surface without bounds that is never drawn on, for paths and queries
// that need one (glyph paths, stroke extents). Each use
// starts from a clean state and gets a fresh context if an earlier use broke it.
class ScratchContext {
  public:
    ScratchContext();
    ~ScratchContext();
    ScratchContext(const ScratchContext&) = delete;
    ScratchContext& operator=(const ScratchContext&) = delete;
    cairo_t* Get() const { return m_Cr; }

  private:
    cairo_t* m_Cr;
};

}  // namespace Gfx
