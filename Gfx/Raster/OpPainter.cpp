#include "Gfx/Raster/OpPainter.h"

#include <algorithm>
#include <cmath>

#include "Gfx/CairoNative.h"

namespace Gfx {

namespace {

cairo_fill_rule_t ToCairo(FillMode mode) {
    return mode == FillMode::Winding ? CAIRO_FILL_RULE_WINDING : CAIRO_FILL_RULE_EVEN_ODD;
}

// Maps dest (user space) onto src (pattern space, whose origin is at (originX, originY)).
// False, leaving the pattern alone, when the scale is beyond what Cairo can invert.
bool MapRect(cairo_pattern_t* pattern, const RectF& dest, const RectF& src, double originX,
             double originY) {
    const double sx = (static_cast<double>(src.right) - src.left) / (dest.right - dest.left);
    const double sy = (static_cast<double>(src.bottom) - src.top) / (dest.bottom - dest.top);
    cairo_matrix_t m;
    cairo_matrix_init(&m, sx, 0, 0, sy, src.left - originX - dest.left * sx,
                      src.top - originY - dest.top * sy);
    const auto usableScale = [](double v) { return std::fabs(v) >= 1e-7 && std::fabs(v) <= 1e7; };
    if (!usableScale(sx) || !usableScale(sy) || !IsUsableCairoMatrix(m))
        return false;
    cairo_pattern_set_matrix(pattern, &m);
    return cairo_pattern_status(pattern) == CAIRO_STATUS_SUCCESS;
}

// A pattern over the pixels of src, whole pixels outward, clipped to the image. Sets
// originX/Y to the pattern's top-left pixel; null when src covers no pixel. The caller
// releases the result with cairo_pattern_destroy.
cairo_pattern_t* SourcePattern(cairo_surface_t* image, SizeU size, const RectF& src,
                               double* originX, double* originY) {
    const double x0 = std::floor(std::max<double>(src.left, 0));
    const double y0 = std::floor(std::max<double>(src.top, 0));
    const double x1 = std::ceil(std::min<double>(src.right, size.width));
    const double y1 = std::ceil(std::min<double>(src.bottom, size.height));
    if (x1 <= x0 || y1 <= y0)
        return nullptr;
    *originX = x0;
    *originY = y0;
    if (x0 == 0 && y0 == 0 && x1 == size.width && y1 == size.height)
        return cairo_pattern_create_for_surface(image);
    // A sub-surface keeps bilinear sampling from reaching pixels outside the source.
    cairo_surface_t* sub = cairo_surface_create_for_rectangle(image, x0, y0, x1 - x0, y1 - y0);
    cairo_pattern_t* pattern = cairo_pattern_create_for_surface(sub);
    cairo_surface_destroy(sub);
    return pattern;
}

}  // namespace

OpPainter::~OpPainter() {
    EndFrame();
}

void OpPainter::EndFrame() {
    for (auto& entry : m_Wrappers) cairo_surface_destroy(entry.second);
    m_Wrappers.clear();
}

cairo_surface_t* OpPainter::SurfaceOf(const Bitmap& bitmap) {
    cairo_surface_t* own = bitmap.GetNative()->surface;
    if (!m_ShareImages)
        return own;
    auto found = m_Wrappers.find(&bitmap);
    if (found != m_Wrappers.end())
        return found->second;
    cairo_surface_t* wrapper = cairo_image_surface_create_for_data(
        cairo_image_surface_get_data(own), cairo_image_surface_get_format(own),
        cairo_image_surface_get_width(own), cairo_image_surface_get_height(own),
        cairo_image_surface_get_stride(own));
    m_Wrappers.emplace(&bitmap, wrapper);
    return wrapper;
}

void OpPainter::Paint(cairo_t* cr, const PixelTarget& pixels, const DrawOp& op,
                      const PixelRect& clip, const Cover* cover) {
    if (!m_Tiled || !DependsOnClip(op)) {
        PaintOnce(cr, pixels, op, clip, cover);
        return;
    }
    const PixelRect area = op.bounds.Intersect(clip);
    for (int top = area.top / kTileRows * kTileRows; top < area.bottom; top += kTileRows) {
        const PixelRect tile = clip.Intersect({clip.left, top, clip.right, top + kTileRows});
        CairoStateGuard guard(cr);
        cairo_identity_matrix(cr);
        cairo_rectangle(cr, tile.left, tile.top, tile.right - tile.left, tile.bottom - tile.top);
        cairo_clip(cr);
        PaintOnce(cr, pixels, op, tile, cover);
    }
}

void OpPainter::PaintOnce(cairo_t* cr, const PixelTarget& pixels, const DrawOp& op,
                          const PixelRect& clip, const Cover* cover) {
    switch (op.kind) {
        case DrawOp::Kind::Clear:
            Clear(cr, op);
            break;
        case DrawOp::Kind::Fill:
        case DrawOp::Kind::Stroke:
            if (CoversEdges(op))
                PaintCover(pixels, op, clip, cover);
            else
                FillOrStroke(cr, op, clip);
            break;
        case DrawOp::Kind::Mask:
            Mask(cr, op);
            break;
        case DrawOp::Kind::Bitmap:
            Image(cr, op);
            break;
    }
}

Cover OpPainter::CoverOf(const DrawOp& op, const PixelRect& clip, const Cover* cover) {
    if (cover)
        return *cover;
    m_Store.Clear();
    return m_Builder.Build(op, clip, &m_Store);
}

bool OpPainter::UsesSpans(const Gfx::Paint& paint) const {
    return m_FastGradients && paint.kind == Gfx::Paint::Kind::Gradient &&
           paint.gradient->HasSpans();
}

bool OpPainter::DrawnWhole(const DrawOp& op) {
    return op.kind != DrawOp::Kind::Clear && op.kind != DrawOp::Kind::Bitmap &&
           op.paint.kind == Gfx::Paint::Kind::Gradient && op.paint.gradient->HasHardStop();
}

bool OpPainter::DependsOnClip(const DrawOp& op) const {
    switch (op.kind) {
        case DrawOp::Kind::Fill:
        case DrawOp::Kind::Stroke:
            return op.paint.kind == Gfx::Paint::Kind::Gradient && !UsesSpans(op.paint);
        case DrawOp::Kind::Mask:
        case DrawOp::Kind::Bitmap:
            return !op.exactSampling;
        case DrawOp::Kind::Clear:
            break;
    }
    return false;
}

void OpPainter::PaintCover(const PixelTarget& pixels, const DrawOp& op, const PixelRect& clip,
                           const Cover* cover) {
    m_CoverPainter.Fill(CoverOf(op, clip, cover), op.paint, op.device, op.bounds, pixels, clip,
                        UsesSpans(op.paint));
}

void OpPainter::Clear(cairo_t* cr, const DrawOp& op) {
    const ColorF& c = op.clearColor;
    CairoStateGuard guard(cr);
    cairo_identity_matrix(cr);
    cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
    cairo_set_source_rgba(cr, c.r, c.g, c.b, c.a);
    cairo_paint(cr);
}

bool OpPainter::SetSource(cairo_t* cr, const DrawOp& op, const PixelRect& clip) {
    const Gfx::Paint& paint = op.paint;
    if (!UsesSpans(paint)) {
        cairo_set_matrix(cr, &op.device);
        return SetPaintSource(cr, paint);
    }
    // The gradient's colours of every pixel the operation may touch here, as an image in
    // device space: Cairo then only composites it through the shape's coverage.
    const PixelRect area = op.bounds.Intersect(clip);
    if (area.IsEmpty())
        return false;
    cairo_matrix_t toPattern = op.device;
    if (cairo_matrix_invert(&toPattern) != CAIRO_STATUS_SUCCESS)
        return false;
    cairo_matrix_multiply(&toPattern, &toPattern, &paint.toPattern);
    const int width = area.right - area.left, height = area.bottom - area.top;
    m_Rows.resize(static_cast<size_t>(width) * height);
    for (int y = 0; y < height; ++y)
        paint.gradient->FillSpan(toPattern, area.left, area.top + y, width,
                                 m_Rows.data() + static_cast<size_t>(y) * width);
    cairo_surface_t* image = cairo_image_surface_create_for_data(
        reinterpret_cast<unsigned char*>(m_Rows.data()),
        paint.gradient->IsOpaque() ? CAIRO_FORMAT_RGB24 : CAIRO_FORMAT_ARGB32, width, height,
        width * 4);
    cairo_identity_matrix(cr);
    cairo_set_source_surface(cr, image, area.left, area.top);
    cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_NEAREST);
    cairo_surface_destroy(image);
    cairo_set_matrix(cr, &op.device);
    return true;
}

void OpPainter::FillOrStroke(cairo_t* cr, const DrawOp& op, const PixelRect& clip) {
    if (!SetSource(cr, op, clip))
        return;
    const PathData& data = op.geometry->Data();
    cairo_set_antialias(cr, op.antialias);
    if (op.kind == DrawOp::Kind::Fill) {
        cairo_set_fill_rule(cr, ToCairo(data.fillMode));
        AppendPathData(cr, data, true);
        cairo_fill(cr);
    } else {
        cairo_set_line_width(cr, op.strokeWidth);
        cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
        cairo_set_line_join(cr, CAIRO_LINE_JOIN_MITER);
        cairo_set_miter_limit(cr, 10);
        AppendPathData(cr, data, false);
        cairo_stroke(cr);
    }
    // The source may be an image over rows that the next operation rewrites.
    cairo_set_source_rgb(cr, 0, 0, 0);
}

void OpPainter::Mask(cairo_t* cr, const DrawOp& op) {
    CairoStateGuard guard(cr);
    cairo_set_matrix(cr, &op.device);
    if (!SetPaintSource(cr, op.paint))
        return;
    cairo_pattern_t* pattern = cairo_pattern_create_for_surface(SurfaceOf(*op.bitmap));
    if (MapRect(pattern, op.dest, op.src, 0, 0)) {
        cairo_pattern_set_extend(pattern, CAIRO_EXTEND_NONE);
        cairo_pattern_set_filter(pattern, CAIRO_FILTER_BILINEAR);
        cairo_set_antialias(cr, op.antialias);
        cairo_rectangle(cr, op.dest.left, op.dest.top, op.dest.right - op.dest.left,
                        op.dest.bottom - op.dest.top);
        cairo_clip(cr);
        cairo_mask(cr, pattern);
    }
    cairo_pattern_destroy(pattern);
}

void OpPainter::Image(cairo_t* cr, const DrawOp& op) {
    double originX = 0, originY = 0;
    cairo_pattern_t* pattern =
        SourcePattern(SurfaceOf(*op.bitmap), op.bitmap->GetPixelSize(), op.src, &originX, &originY);
    if (!pattern)
        return;
    if (cairo_pattern_status(pattern) == CAIRO_STATUS_SUCCESS &&
        MapRect(pattern, op.dest, op.src, originX, originY)) {
        const RectF& d = op.dest;
        CairoStateGuard guard(cr);
        cairo_set_matrix(cr, &op.device);
        cairo_pattern_set_extend(pattern, CAIRO_EXTEND_PAD);
        cairo_pattern_set_filter(pattern, CAIRO_FILTER_BILINEAR);
        cairo_set_source(cr, pattern);
        cairo_set_antialias(cr, op.antialias);
        cairo_rectangle(cr, d.left, d.top, d.right - d.left, d.bottom - d.top);
        if (op.opacity >= 1) {
            cairo_fill(cr);
        } else {
            cairo_clip(cr);
            cairo_paint_with_alpha(cr, op.opacity);
        }
    }
    cairo_pattern_destroy(pattern);
}

}  // namespace Gfx
