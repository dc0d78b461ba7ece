#include "SceneCairo.h"

#include <cmath>

namespace Bench {

namespace {

cairo_pattern_t* Pattern(const Paint& p) {
    cairo_pattern_t* pattern;
    switch (p.kind) {
        case Paint::Kind::Solid:
            return cairo_pattern_create_rgba(p.r, p.g, p.b, p.a);
        case Paint::Kind::Linear:
            pattern = cairo_pattern_create_linear(p.x0, p.y0, p.x1, p.y1);
            break;
        case Paint::Kind::Radial: {
            // A unit circle mapped onto the ellipse, its focus offset in radii.
            pattern = cairo_pattern_create_radial(p.fx / p.x1, p.fy / p.y1, 0, 0, 0, 1);
            cairo_matrix_t m;
            cairo_matrix_init(&m, 1.0 / p.x1, 0, 0, 1.0 / p.y1, -p.x0 / p.x1, -p.y0 / p.y1);
            cairo_pattern_set_matrix(pattern, &m);
            break;
        }
        default:
            return nullptr;
    }
    for (const Stop& s : p.stops)
        cairo_pattern_add_color_stop_rgba(pattern, s.offset, s.r, s.g, s.b, s.a);
    const cairo_extend_t extend[3] = {CAIRO_EXTEND_PAD, CAIRO_EXTEND_REPEAT, CAIRO_EXTEND_REFLECT};
    cairo_pattern_set_extend(pattern, extend[p.extend % 3]);
    return pattern;
}

void Source(cairo_t* cr, const Paint& p) {
    cairo_pattern_t* pattern = Pattern(p);
    cairo_set_source(cr, pattern);
    cairo_pattern_destroy(pattern);
}

void ShapePath(cairo_t* cr, const Shape& s) {
    switch (s.kind) {
        case Shape::Kind::Ellipse:
            cairo_save(cr);
            cairo_translate(cr, s.x, s.y);
            cairo_scale(cr, s.w, s.h);
            cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
            cairo_restore(cr);
            break;
        case Shape::Kind::Rect:
            cairo_rectangle(cr, s.x, s.y, s.w, s.h);
            break;
        case Shape::Kind::Bezier:
            cairo_move_to(cr, s.points[0], s.points[1]);
            for (size_t i = 2; i + 5 < s.points.size(); i += 6)
                cairo_curve_to(cr, s.points[i], s.points[i + 1], s.points[i + 2], s.points[i + 3],
                               s.points[i + 4], s.points[i + 5]);
            cairo_close_path(cr);
            break;
        case Shape::Kind::Text: {
            cairo_select_font_face(cr, "Liberation Sans", CAIRO_FONT_SLANT_NORMAL,
                                   CAIRO_FONT_WEIGHT_NORMAL);
            cairo_set_font_size(cr, s.size);
            cairo_text_extents_t e;
            cairo_text_extents(cr, s.text.c_str(), &e);
            cairo_move_to(cr, s.x + (s.w - e.x_advance) / 2, s.y + s.h / 2 + s.size * 0.35);
            cairo_text_path(cr, s.text.c_str());
            break;
        }
        case Shape::Kind::Bitmap:
            break;
    }
}

void DrawBitmap(cairo_t* cr, const Shape& s, cairo_surface_t* bitmap) {
    cairo_save(cr);
    cairo_rectangle(cr, s.x, s.y, s.w, s.h);
    cairo_clip(cr);
    cairo_translate(cr, s.x, s.y);
    cairo_scale(cr, s.w / kBitmapSide, s.h / kBitmapSide);
    cairo_set_source_surface(cr, bitmap, 0, 0);
    cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_BILINEAR);
    cairo_pattern_set_extend(cairo_get_source(cr), CAIRO_EXTEND_PAD);
    cairo_paint_with_alpha(cr, s.opacity);
    cairo_restore(cr);
}

}  // namespace

void DrawWithCairo(cairo_t* cr, const Scene& scene, uint32_t t, cairo_surface_t* bitmap) {
    cairo_save(cr);
    if (scene.moving) {
        double dx, dy;
        MoveAt(t, &dx, &dy);
        cairo_translate(cr, dx, dy);
    }
    for (const Shape& s : scene.shapes) {
        if (s.kind == Shape::Kind::Bitmap) {
            DrawBitmap(cr, s, bitmap);
            continue;
        }
        ShapePath(cr, s);
        Source(cr, s.fill);
        if (s.stroked) {
            cairo_fill_preserve(cr);
            Source(cr, s.stroke);
            cairo_set_line_width(cr, s.strokeWidth);
            cairo_stroke(cr);
        } else {
            cairo_fill(cr);
        }
    }
    cairo_restore(cr);
}

}  // namespace Bench
