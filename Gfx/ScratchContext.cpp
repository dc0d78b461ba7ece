#include "Gfx/ScratchContext.h"

namespace Gfx {

namespace {

struct SharedContext {
    cairo_surface_t* surface = nullptr;
    cairo_t* cr = nullptr;
    ~SharedContext() { Drop(); }
    void Drop() {
        if (cr)
            cairo_destroy(cr);
        if (surface)
            cairo_surface_destroy(surface);
        cr = nullptr;
        surface = nullptr;
    }
    cairo_t* Acquire() {
        if (cr && cairo_status(cr) != CAIRO_STATUS_SUCCESS)
            Drop();
        if (!cr) {
            // Without bounds: Cairo leaves out of a glyph path the glyphs that fall far
            // outside the surface, so a small image surface cut long runs short.
            surface = cairo_recording_surface_create(CAIRO_CONTENT_ALPHA, nullptr);
            cr = cairo_create(surface);
        }
        return cr;
    }
};

thread_local SharedContext g_Shared;

}  // namespace

ScratchContext::ScratchContext() : m_Cr(g_Shared.Acquire()) {
    cairo_save(m_Cr);
    cairo_new_path(m_Cr);
}

ScratchContext::~ScratchContext() {
    cairo_new_path(m_Cr);
    cairo_restore(m_Cr);
}

}  // namespace Gfx
