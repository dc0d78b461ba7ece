#include "Gfx/RenderTarget.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>

#include "Gfx/CairoNative.h"
#include "Gfx/Raster/Paint.h"

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

// Device pixels a user-space rectangle may touch under m, one pixel of smoothing around
// it and grown by pad pixels, within the target.
PixelRect DeviceBounds(const cairo_matrix_t& m, const RectF& r, double pad, SizeU target) {
    double x0 = INFINITY, y0 = INFINITY, x1 = -INFINITY, y1 = -INFINITY;
    for (const double x : {double(r.left), double(r.right)}) {
        for (const double y : {double(r.top), double(r.bottom)}) {
            double dx = x, dy = y;
            cairo_matrix_transform_point(&m, &dx, &dy);
            x0 = std::min(x0, dx), y0 = std::min(y0, dy);
            x1 = std::max(x1, dx), y1 = std::max(y1, dy);
        }
    }
    const double grow = pad + 1;
    const auto clamp = [](double v, uint32_t hi) {
        return static_cast<int>(std::max(0.0, std::min<double>(v, hi)));
    };
    return {clamp(std::floor(x0 - grow), target.width), clamp(std::floor(y0 - grow), target.height),
            clamp(std::ceil(x1 + grow), target.width), clamp(std::ceil(y1 + grow), target.height)};
}

bool PowerOfTwo(double v) {
    int exponent = 0;
    return v != 0 && std::fabs(std::frexp(v, &exponent)) == 0.5;
}

// Device pixels step through image pixels by exact powers of two along the axes, so Cairo
// samples them the same wherever a composite starts.
bool ExactSampling(const cairo_matrix_t& device, const RectF& dest, const RectF& src) {
    cairo_matrix_t toImage = device;
    if (cairo_matrix_invert(&toImage) != CAIRO_STATUS_SUCCESS)
        return false;
    const double sx = (double(src.right) - src.left) / (double(dest.right) - dest.left);
    const double sy = (double(src.bottom) - src.top) / (double(dest.bottom) - dest.top);
    return toImage.xy == 0 && toImage.yx == 0 && PowerOfTwo(toImage.xx * sx) &&
           PowerOfTwo(toImage.yy * sy);
}

// Largest stretch of m: no vector grows by more.
double Stretch(const cairo_matrix_t& m) {
    return std::sqrt(m.xx * m.xx + m.yx * m.yx + m.xy * m.xy + m.yy * m.yy);
}

}  // namespace

RenderTarget::RenderTarget(SizeU size, float dpiX, float dpiY, PixelFormat format)
    : m_Size(size), m_DpiX(dpiX), m_DpiY(dpiY), m_Format(format), m_Native(new Native) {
    UpdateDevice(m_Native.get(), m_Transform, m_DpiX, m_DpiY);
}

RenderTarget::~RenderTarget() = default;

Result RenderTarget::Allocate() {
    m_Native->Release();  // layers and the last frame belong to the old pixels
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
    target->m_Compatible = true;
    const Result r = target->Allocate();
    if (r == kOk)
        *out = std::move(target);
    return r;
}

bool RenderTarget::Recording() const {
    return m_Options.record && !m_Compatible && m_Format == PixelFormat::BGRA8Premultiplied;
}

void RenderTarget::BeginDraw() {
    m_Drawing = true;
    m_Native->ops.clear();
    m_Native->wholeFrame = true;
    m_Native->recording = Recording();
    if (!m_Native->recording && m_Native->raster)
        m_Native->raster->Forget();
}

OpPainter& RenderTarget::Direct() {
    if (!m_Native->direct) {
        // Our own coverage paints premultiplied BGRA only; masks stay with Cairo.
        const bool ownEdges = m_Options.ownEdges && m_Format == PixelFormat::BGRA8Premultiplied;
        m_Native->direct = std::make_unique<OpPainter>(false, false, false, ownEdges);
    }
    return *m_Native->direct;
}

FrameRasterizer& RenderTarget::Raster() {
    if (!m_Native->raster)
        m_Native->raster = std::make_unique<FrameRasterizer>(m_Native->surface, m_Options);
    return *m_Native->raster;
}

void RenderTarget::DrawRecorded() {
    Native& n = *m_Native;
    if (n.ops.empty())
        return;
    if (!Raster().Draw(std::move(n.ops), false))
        n.misused = true;  // reported (and recovered from) by EndDraw
    n.ops.clear();
    n.wholeFrame = false;
}

Result RenderTarget::EndDraw() {
    if (!m_Drawing)
        return kWrongState;
    m_Drawing = false;
    Native& n = *m_Native;
    bool drawn = true;
    if (n.recording) {
        if (n.ops.empty() && !n.wholeFrame)
            drawn = true;
        else
            drawn = Raster().Draw(std::move(n.ops), n.wholeFrame);
        n.ops.clear();
    }
    if (n.direct)
        n.direct->EndFrame();
    cairo_surface_flush(n.surface);
    if (!drawn || cairo_status(n.cr) != CAIRO_STATUS_SUCCESS ||
        cairo_surface_status(n.surface) != CAIRO_STATUS_SUCCESS) {
        // Recover for the next frame instead of staying blank for good: an error can stick to
        // the surface as well as to the context, so both are made anew.
        const Result r = Allocate();
        return r == kOk ? kFail : r;
    }
    if (n.misused) {
        n.misused = false;
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

// Records op, or draws it at once when this frame does not record or an object it needs
// cannot be held (one not owned through a shared pointer).
void RenderTarget::Record(DrawOp&& op, bool holdable) {
    Native& n = *m_Native;
    if (n.recording && holdable) {
        n.ops.push_back(std::move(op));
        return;
    }
    if (n.recording) {
        DrawRecorded();
        Raster().Forget();
    }
    const PixelTarget pixels{cairo_image_surface_get_data(n.surface),
                             cairo_image_surface_get_stride(n.surface), 0, 0};
    cairo_surface_flush(n.surface);
    Direct().Paint(n.cr, pixels, op,
                   PixelRect{0, 0, static_cast<int>(m_Size.width), static_cast<int>(m_Size.height)});
    cairo_surface_mark_dirty(n.surface);
}

void RenderTarget::Clear(ColorF c) {
    if (!m_Drawing) {
        m_Native->misused = true;
        return;
    }
    if (!std::isfinite(c.r) || !std::isfinite(c.g) || !std::isfinite(c.b) || !std::isfinite(c.a))
        return;
    DrawOp op;
    op.kind = DrawOp::Kind::Clear;
    op.clearColor = c;
    op.bounds = {0, 0, static_cast<int>(m_Size.width), static_cast<int>(m_Size.height)};
    Record(std::move(op), true);
}

void RenderTarget::SetTransform(const Matrix3x2& m) {
    m_Transform = m;
    UpdateDevice(m_Native.get(), m_Transform, m_DpiX, m_DpiY);
}

void RenderTarget::FillGeometry(const Geometry& geometry, const Brush& brush) {
    DrawShape(geometry, brush, 0);
}

void RenderTarget::DrawGeometry(const Geometry& geometry, const Brush& brush, float strokeWidth) {
    if (!std::isfinite(strokeWidth) || strokeWidth <= 0 || strokeWidth > kMaxStrokeWidth) {
        m_Native->Ready(m_Drawing);  // still reports drawing outside a frame
        return;
    }
    DrawShape(geometry, brush, strokeWidth);
}

void RenderTarget::DrawShape(const Geometry& geometry, const Brush& brush, float strokeWidth) {
    const bool fill = strokeWidth == 0;
    cairo_t* cr = m_Native->Ready(m_Drawing);
    if (!cr || !geometry.IsDrawable() || !brush.IsPaintable())
        return;
    if (fill ? !geometry.GetNative()->anyFilled : geometry.IsEmpty())
        return;
    DrawOp op;
    if (!ResolvePaint(brush, &op.paint))
        return;
    op.kind = fill ? DrawOp::Kind::Fill : DrawOp::Kind::Stroke;
    op.device = m_Native->device;
    op.antialias = ToCairo(m_Antialias);
    op.strokeWidth = strokeWidth;
    // A miter may reach limit * width / 2 beyond its corner.
    const double pad = fill ? 0 : 10 * strokeWidth / 2 * Stretch(op.device);
    op.bounds = DeviceBounds(op.device, geometry.Hull(), pad, m_Size);
    if (op.bounds.IsEmpty())
        return;
    op.geometry = geometry.weak_from_this().lock();
    const bool holdable = op.geometry != nullptr;
    if (!holdable)
        op.geometry = std::shared_ptr<const Geometry>(&geometry, [](const Geometry*) {});
    Record(std::move(op), holdable);
}

void RenderTarget::FillOpacityMask(const Bitmap& mask, const Brush& brush, const RectF* dest,
                                   const RectF* src) {
    cairo_t* cr = m_Native->Ready(m_Drawing);
    if (!cr || !brush.IsPaintable())
        return;
    const SizeU size = mask.GetPixelSize();
    const RectF whole{0, 0, static_cast<float>(size.width), static_cast<float>(size.height)};
    const float toDips = 96.0f / mask.GetNative()->dpi;
    DrawOp op;
    op.src = src ? *src : whole;
    op.dest = dest ? *dest : RectF{0, 0, whole.right * toDips, whole.bottom * toDips};
    if (!Drawable(op.src) || !Drawable(op.dest) || !ResolvePaint(brush, &op.paint))
        return;
    op.kind = DrawOp::Kind::Mask;
    op.device = m_Native->device;
    op.exactSampling = ExactSampling(op.device, op.dest, op.src);
    op.antialias = ToCairo(m_Antialias);
    op.bounds = DeviceBounds(op.device, op.dest, 0, m_Size);
    if (op.bounds.IsEmpty())
        return;
    RecordImage(std::move(op), mask);
}

void RenderTarget::DrawBitmap(const Bitmap& bitmap, const RectF& dest, float opacity,
                              const RectF& src) {
    cairo_t* cr = m_Native->Ready(m_Drawing);
    if (!cr || !Drawable(dest) || !Drawable(src) || !std::isfinite(opacity) || opacity <= 0)
        return;
    DrawOp op;
    op.kind = DrawOp::Kind::Bitmap;
    op.device = m_Native->device;
    op.antialias = ToCairo(m_Antialias);
    op.dest = dest;
    op.src = src;
    op.opacity = opacity;
    op.exactSampling = ExactSampling(op.device, dest, src);
    op.bounds = DeviceBounds(op.device, dest, 0, m_Size);
    if (op.bounds.IsEmpty())
        return;
    RecordImage(std::move(op), bitmap);
}

void RenderTarget::RecordImage(DrawOp&& op, const Bitmap& bitmap) {
    op.bitmap = bitmap.weak_from_this().lock();
    const bool holdable = op.bitmap != nullptr;
    if (!holdable)
        op.bitmap = std::shared_ptr<const Bitmap>(&bitmap, [](const Bitmap*) {});
    Record(std::move(op), holdable);
}

Result RenderTarget::GetBitmap(std::shared_ptr<Bitmap>* out) {
    if (!out)
        return kInvalidArg;
    DrawRecorded();
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

void RenderTarget::SetRasterOptions(const RasterOptions& options) {
    m_Options = options;
    DrawRecorded();
    m_Native->raster.reset();  // made again with the new options at the next frame
    m_Native->direct.reset();
}

const RasterStats& RenderTarget::GetRasterStats() const {
    static const RasterStats kNone;
    return m_Native->raster ? m_Native->raster->LastStats() : kNone;
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
    DrawRecorded();
    cairo_surface_flush(m_Native->surface);
    return cairo_image_surface_get_data(m_Native->surface);
}

uint32_t RenderTarget::GetStride() const {
    return static_cast<uint32_t>(cairo_image_surface_get_stride(m_Native->surface));
}

Result RenderTarget::WritePng(const std::string& path) {
    DrawRecorded();
    cairo_surface_flush(m_Native->surface);
    return cairo_surface_write_to_png(m_Native->surface, path.c_str()) == CAIRO_STATUS_SUCCESS
               ? kOk
               : kFail;
}

}  // namespace Gfx
