#include "Gfx/RenderTarget.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>

#include "Gfx/BrushSource.h"
#include "Gfx/CairoNative.h"

namespace Gfx {

namespace {

constexpr float kDefaultDpi = 96;
constexpr double kMaxStrokeWidth = 1e7;  // DIPs; wider is hostile, like larger coordinates

float SanitizeDpi(float dpi) {
    return std::isfinite(dpi) && dpi > 0 ? dpi : kDefaultDpi;
}

cairo_format_t ToCairo(PixelFormat format) {
    return format == PixelFormat::A8 ? CAIRO_FORMAT_A8 : CAIRO_FORMAT_ARGB32;
}

cairo_antialias_t ToCairo(AntialiasMode mode) {
    return mode == AntialiasMode::Aliased ? CAIRO_ANTIALIAS_NONE : CAIRO_ANTIALIAS_DEFAULT;
}

cairo_fill_rule_t ToCairo(FillMode mode) {
    return mode == FillMode::Winding ? CAIRO_FILL_RULE_WINDING : CAIRO_FILL_RULE_EVEN_ODD;
}

// The target transform, then DIPs to pixels.
void UpdateDevice(RenderTarget::Native* n, const Matrix3x2& t, float dpiX, float dpiY) {
    const double sx = dpiX / 96.0, sy = dpiY / 96.0;
    cairo_matrix_init(&n->device, t.m11 * sx, t.m12 * sy, t.m21 * sx, t.m22 * sy, t.dx * sx,
                      t.dy * sy);
    n->deviceValid = t.IsFinite() && !t.IsSingular() && IsUsableCairoMatrix(n->device);
}

// Rectangles obey the bound of path coordinates: beyond it Cairo's fixed point overflows.
constexpr float kMaxRectCoordinate = 1e7f;

bool Bounded(float v) {
    return std::isfinite(v) && std::fabs(v) <= kMaxRectCoordinate;
}

bool Finite(const RectF& r) {
    return Bounded(r.left) && Bounded(r.top) && Bounded(r.right) && Bounded(r.bottom);
}

// Finite with positive width and height: the only rectangles that draw.
bool Drawable(const RectF& r) {
    return Finite(r) && r.right > r.left && r.bottom > r.top;
}

cairo_pattern_t* WholeSurfacePattern(const Bitmap::Native& b) {
    if (!b.pattern)
        b.pattern = cairo_pattern_create_for_surface(b.surface);
    return b.pattern;
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
    // A pattern whose matrix Cairo rejects stays broken, and patterns are cached: check first.
    const auto usableScale = [](double v) { return std::fabs(v) >= 1e-7 && std::fabs(v) <= 1e7; };
    if (!usableScale(sx) || !usableScale(sy) || !IsUsableCairoMatrix(m))
        return false;
    cairo_pattern_set_matrix(pattern, &m);
    return cairo_pattern_status(pattern) == CAIRO_STATUS_SUCCESS;
}

// A pattern over the pixels of src, whole pixels outward, clipped to the bitmap. Sets
// originX/Y to the pattern's top-left pixel; null when src covers no pixel. The caller
// releases the result with cairo_pattern_destroy.
cairo_pattern_t* SourcePattern(const Bitmap& bitmap, const RectF& src, double* originX,
                               double* originY) {
    const Bitmap::Native& b = *bitmap.GetNative();
    const SizeU size = bitmap.GetPixelSize();
    const double x0 = std::floor(std::max<double>(src.left, 0));
    const double y0 = std::floor(std::max<double>(src.top, 0));
    const double x1 = std::ceil(std::min<double>(src.right, size.width));
    const double y1 = std::ceil(std::min<double>(src.bottom, size.height));
    if (x1 <= x0 || y1 <= y0)
        return nullptr;
    *originX = x0;
    *originY = y0;
    if (x0 == 0 && y0 == 0 && x1 == size.width && y1 == size.height)
        return cairo_pattern_reference(WholeSurfacePattern(b));
    // A sub-surface keeps bilinear sampling from reaching pixels outside the source.
    cairo_surface_t* sub = cairo_surface_create_for_rectangle(b.surface, x0, y0, x1 - x0, y1 - y0);
    cairo_pattern_t* pattern = cairo_pattern_create_for_surface(sub);
    cairo_surface_destroy(sub);
    return pattern;
}

}  // namespace

RenderTarget::RenderTarget(SizeU size, float dpiX, float dpiY, PixelFormat format)
    : m_Size(size), m_DpiX(dpiX), m_DpiY(dpiY), m_Format(format), m_Native(new Native) {
    UpdateDevice(m_Native.get(), m_Transform, m_DpiX, m_DpiY);
}

RenderTarget::~RenderTarget() = default;

Result RenderTarget::Allocate() {
    m_Native->Release();
    m_Native->surface = cairo_image_surface_create(
        ToCairo(m_Format), static_cast<int>(m_Size.width), static_cast<int>(m_Size.height));
    m_Native->cr = cairo_create(m_Native->surface);
    if (cairo_status(m_Native->cr) != CAIRO_STATUS_SUCCESS) {
        m_Native->Release();
        return kOutOfMemory;
    }
    return kOk;
}

Result RenderTarget::Create(uint32_t width, uint32_t height, float dpi,
                            std::shared_ptr<RenderTarget>* out) {
    if (!out || width > kMaxSurfaceSide || height > kMaxSurfaceSide)
        return kInvalidArg;
    const float d = SanitizeDpi(dpi);
    std::shared_ptr<RenderTarget> target(
        new (std::nothrow) RenderTarget({width, height}, d, d, PixelFormat::BGRA8Premultiplied));
    if (!target)
        return kOutOfMemory;
    const Result r = target->Allocate();
    if (r == kOk)
        *out = std::move(target);
    return r;
}

Result RenderTarget::CreateCompatible(SizeF sizeDips, float dpi, PixelFormat format,
                                      std::shared_ptr<RenderTarget>* out) {
    if (!out || !std::isfinite(sizeDips.width) || !std::isfinite(sizeDips.height) ||
        sizeDips.width < 0 || sizeDips.height < 0)
        return kInvalidArg;
    const float d = SanitizeDpi(dpi);
    const double w = std::max(1.0, std::ceil(sizeDips.width * static_cast<double>(d) / 96.0));
    const double h = std::max(1.0, std::ceil(sizeDips.height * static_cast<double>(d) / 96.0));
    if (w > kMaxSurfaceSide || h > kMaxSurfaceSide)
        return kInvalidArg;
    std::shared_ptr<RenderTarget> target(new (std::nothrow) RenderTarget(
        {static_cast<uint32_t>(w), static_cast<uint32_t>(h)}, d, d, format));
    if (!target)
        return kOutOfMemory;
    const Result r = target->Allocate();
    if (r == kOk)
        *out = std::move(target);
    return r;
}

void RenderTarget::BeginDraw() {
    m_Drawing = true;
}

Result RenderTarget::EndDraw() {
    if (!m_Drawing)
        return kWrongState;
    m_Drawing = false;
    cairo_surface_flush(m_Native->surface);
    if (cairo_status(m_Native->cr) != CAIRO_STATUS_SUCCESS ||
        cairo_surface_status(m_Native->surface) != CAIRO_STATUS_SUCCESS) {
        // Recover for the next frame instead of staying blank for good: an error can stick to
        // the surface as well as to the context, so both are made anew.
        const Result r = Allocate();
        return r == kOk ? kFail : r;
    }
    if (m_Native->misused) {
        m_Native->misused = false;
        return kWrongState;
    }
    return kOk;
}

cairo_t* RenderTarget::Native::Ready(bool drawing) {
    if (!drawing) {
        misused = true;  // drawing outside BeginDraw/EndDraw is reported by the next EndDraw
        return nullptr;
    }
    return deviceValid ? cr : nullptr;
}

void RenderTarget::Clear(ColorF c) {
    if (!m_Drawing) {
        m_Native->misused = true;
        return;
    }
    if (!std::isfinite(c.r) || !std::isfinite(c.g) || !std::isfinite(c.b) || !std::isfinite(c.a))
        return;
    cairo_t* cr = m_Native->cr;
    CairoStateGuard guard(cr);
    cairo_identity_matrix(cr);
    cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
    cairo_set_source_rgba(cr, c.r, c.g, c.b, c.a);
    cairo_paint(cr);
}

void RenderTarget::SetTransform(const Matrix3x2& m) {
    m_Transform = m;
    UpdateDevice(m_Native.get(), m_Transform, m_DpiX, m_DpiY);
}

void RenderTarget::FillGeometry(const Geometry& geometry, const Brush& brush) {
    cairo_t* cr = m_Native->Ready(m_Drawing);
    if (!cr || !geometry.IsDrawable() || !brush.IsPaintable())
        return;
    if (!geometry.GetNative()->anyFilled)
        return;
    // No save and restore on this hot path: every state this call relies on is set here, and
    // the calls that clip or change the operator restore their own.
    cairo_set_matrix(cr, &m_Native->device);
    if (!SetBrushSource(cr, brush))
        return;
    cairo_set_antialias(cr, ToCairo(m_Antialias));
    cairo_set_fill_rule(cr, ToCairo(geometry.Data().fillMode));
    AppendPathData(cr, geometry.Data(), true);
    cairo_fill(cr);
}

void RenderTarget::DrawGeometry(const Geometry& geometry, const Brush& brush, float strokeWidth) {
    cairo_t* cr = m_Native->Ready(m_Drawing);
    if (!cr || !geometry.IsDrawable() || !brush.IsPaintable())
        return;
    if (!std::isfinite(strokeWidth) || strokeWidth <= 0 || strokeWidth > kMaxStrokeWidth)
        return;
    if (geometry.IsEmpty())
        return;
    cairo_set_matrix(cr, &m_Native->device);
    if (!SetBrushSource(cr, brush))
        return;
    cairo_set_antialias(cr, ToCairo(m_Antialias));
    cairo_set_line_width(cr, strokeWidth);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_MITER);
    cairo_set_miter_limit(cr, 10);
    AppendPathData(cr, geometry.Data(), false);
    cairo_stroke(cr);
}

void RenderTarget::FillOpacityMask(const Bitmap& mask, const Brush& brush, const RectF* dest,
                                   const RectF* src) {
    cairo_t* cr = m_Native->Ready(m_Drawing);
    if (!cr || !brush.IsPaintable())
        return;
    const Bitmap::Native& b = *mask.GetNative();
    const SizeU size = mask.GetPixelSize();
    const RectF whole{0, 0, static_cast<float>(size.width), static_cast<float>(size.height)};
    const float toDips = 96.0f / b.dpi;
    const RectF s = src ? *src : whole;
    const RectF d = dest ? *dest : RectF{0, 0, whole.right * toDips, whole.bottom * toDips};
    if (!Drawable(s) || !Drawable(d))
        return;

    CairoStateGuard guard(cr);
    cairo_set_matrix(cr, &m_Native->device);
    if (!SetBrushSource(cr, brush))
        return;
    cairo_pattern_t* pattern = WholeSurfacePattern(b);
    if (!MapRect(pattern, d, s, 0, 0))
        return;
    cairo_pattern_set_extend(pattern, CAIRO_EXTEND_NONE);
    cairo_pattern_set_filter(pattern, CAIRO_FILTER_BILINEAR);
    cairo_set_antialias(cr, ToCairo(m_Antialias));
    cairo_rectangle(cr, d.left, d.top, d.right - d.left, d.bottom - d.top);
    cairo_clip(cr);
    cairo_mask(cr, pattern);
}

void RenderTarget::DrawBitmap(const Bitmap& bitmap, const RectF& dest, float opacity,
                              const RectF& src) {
    cairo_t* cr = m_Native->Ready(m_Drawing);
    if (!cr || !Drawable(dest) || !Drawable(src) || !std::isfinite(opacity) || opacity <= 0)
        return;
    double originX = 0, originY = 0;
    cairo_pattern_t* pattern = SourcePattern(bitmap, src, &originX, &originY);
    if (!pattern)
        return;
    if (cairo_pattern_status(pattern) == CAIRO_STATUS_SUCCESS &&
        MapRect(pattern, dest, src, originX, originY)) {
        CairoStateGuard guard(cr);
        cairo_set_matrix(cr, &m_Native->device);
        cairo_pattern_set_extend(pattern, CAIRO_EXTEND_PAD);
        cairo_pattern_set_filter(pattern, CAIRO_FILTER_BILINEAR);
        cairo_set_source(cr, pattern);
        cairo_set_antialias(cr, ToCairo(m_Antialias));
        cairo_rectangle(cr, dest.left, dest.top, dest.right - dest.left, dest.bottom - dest.top);
        if (opacity >= 1) {
            cairo_fill(cr);
        } else {
            cairo_clip(cr);
            cairo_paint_with_alpha(cr, opacity);
        }
    }
    cairo_pattern_destroy(pattern);
}

Result RenderTarget::GetBitmap(std::shared_ptr<Bitmap>* out) {
    if (!out)
        return kInvalidArg;
    cairo_surface_flush(m_Native->surface);
    return CreateBitmapWithDpi(m_Size, cairo_image_surface_get_data(m_Native->surface), GetStride(),
                               m_Format, m_DpiX, out);
}

Result RenderTarget::Resize(uint32_t width, uint32_t height) {
    if (width > kMaxSurfaceSide || height > kMaxSurfaceSide)
        return kInvalidArg;
    const SizeU previous = m_Size;
    m_Size = {width, height};
    const Result r = Allocate();
    if (r != kOk) {
        m_Size = previous;
        Allocate();
    }
    return r;
}

void RenderTarget::SetDpi(float dpiX, float dpiY) {
    m_DpiX = SanitizeDpi(dpiX);
    m_DpiY = SanitizeDpi(dpiY);
    UpdateDevice(m_Native.get(), m_Transform, m_DpiX, m_DpiY);
}

SizeF RenderTarget::GetSize() const {
    return {m_Size.width * 96.0f / m_DpiX, m_Size.height * 96.0f / m_DpiY};
}

const uint8_t* RenderTarget::GetPixels() {
    cairo_surface_flush(m_Native->surface);
    return cairo_image_surface_get_data(m_Native->surface);
}

uint32_t RenderTarget::GetStride() const {
    return static_cast<uint32_t>(cairo_image_surface_get_stride(m_Native->surface));
}

Result RenderTarget::WritePng(const std::string& path) {
    cairo_surface_flush(m_Native->surface);
    return cairo_surface_write_to_png(m_Native->surface, path.c_str()) == CAIRO_STATUS_SUCCESS
               ? kOk
               : kFail;
}

}  // namespace Gfx
