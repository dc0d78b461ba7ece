#include "Gfx/FontContext.h"

namespace Gfx {
namespace {

PangoContext* CreateContext() {
    // Fontconfig reads FONTCONFIG_FILE here, at the font map's first use.
    PangoFontMap* map = pango_cairo_font_map_new();
    PangoContext* ctx = pango_font_map_create_context(map);
    g_object_unref(map);  // the context holds its own reference

    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
    cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_DEFAULT);
    pango_cairo_context_set_font_options(ctx, options);
    cairo_font_options_destroy(options);

    pango_context_set_round_glyph_positions(ctx, FALSE);
    return ctx;
}

}  // namespace

std::unique_lock<std::recursive_mutex> LockPango() {
    static std::recursive_mutex mutex;
    return std::unique_lock<std::recursive_mutex>(mutex);
}

PangoContext* SharedPangoContext() {
    static PangoContext* const ctx = CreateContext();
    return ctx;
}

}  // namespace Gfx
