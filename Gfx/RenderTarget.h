#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "Gfx/Bitmap.h"
#include "Gfx/Brush.h"
#include "Gfx/Geometry.h"
#include "Gfx/RasterOptions.h"

namespace Gfx {

struct DrawOp;
class FrameRasterizer;
class OpPainter;

enum class AntialiasMode { PerPrimitive, Aliased };

// Draws into a backend image surface. Coordinates are device-independent pixels,
// scaled by dpi/96 to pixels. Every draw call validates its numbers first: a
// non-finite or singular transform, a non-drawable geometry, a non-paintable brush or a
// non-finite or negative width draws nothing, so one bad value never blanks the rest of a
// frame.
//
// A frame's calls are recorded with everything they use held, and drawn at EndDraw (or at
// the first pixel access) on every core, reusing what did not change since the last frame
// (see RasterOptions). Callers see the same calls and the same pixels either way.
class RenderTarget {
  public:
    // A BGRA premultiplied target of width x height pixels.
    static Result Create(uint32_t width, uint32_t height, float dpi,
                         std::shared_ptr<RenderTarget>* out);
    // A target of the given format; its size in DIPs is scaled by dpi/96 and rounded up.
    static Result CreateCompatible(SizeF sizeDips, float dpi, PixelFormat format,
                                   std::shared_ptr<RenderTarget>* out);
    ~RenderTarget();
    RenderTarget(const RenderTarget&) = delete;
    RenderTarget& operator=(const RenderTarget&) = delete;

    void BeginDraw();
    // kWrongState when not drawing; kOk otherwise.
    Result EndDraw();
    void Clear(ColorF color);

    void SetTransform(const Matrix3x2& m);
    const Matrix3x2& GetTransform() const { return m_Transform; }
    void SetAntialiasMode(AntialiasMode mode) { m_Antialias = mode; }
    AntialiasMode GetAntialiasMode() const { return m_Antialias; }

    void FillGeometry(const Geometry& geometry, const Brush& brush);
    // Flat caps, miter joins, miter limit 10; width in user space.
    void DrawGeometry(const Geometry& geometry, const Brush& brush, float strokeWidth);
    // Paints brush through the alpha of mask (A8), drawn into dest (DIPs) from src (pixels);
    // null rectangles mean the whole mask at its own size.
    void FillOpacityMask(const Bitmap& mask, const Brush& brush, const RectF* dest,
                         const RectF* src);
    // Bilinear from the source rectangle (pixels) into the destination (DIPs).
    void DrawBitmap(const Bitmap& bitmap, const RectF& dest, float opacity, const RectF& src);

    // A snapshot of the current pixels as a bitmap (for compatible targets).
    Result GetBitmap(std::shared_ptr<Bitmap>* out);

    // Takes effect at the next BeginDraw; compatible targets always draw at once.
    void SetRasterOptions(const RasterOptions& options);
    const RasterOptions& GetRasterOptions() const { return m_Options; }
    const RasterStats& GetRasterStats() const;

    Result Resize(uint32_t width, uint32_t height);
    void SetDpi(float dpiX, float dpiY);
    float GetDpiX() const { return m_DpiX; }
    float GetDpiY() const { return m_DpiY; }
    SizeU GetPixelSize() const { return m_Size; }
    SizeF GetSize() const;  // in DIPs
    PixelFormat GetFormat() const { return m_Format; }

    // Rows of pixels (premultiplied BGRA or A8), valid until the next draw or resize.
    const uint8_t* GetPixels();
    uint32_t GetStride() const;
    Result WritePng(const std::string& path);

    struct Native;

  private:
    RenderTarget(SizeU size, float dpiX, float dpiY, PixelFormat format);
    Result Allocate();
    bool Recording() const;
    FrameRasterizer& Raster();  // made at first use, for the current surface
    OpPainter& Direct();        // draws calls at once; made at first use
    // strokeWidth 0 fills.
    void DrawShape(const Geometry& geometry, const Brush& brush, float strokeWidth);
    void Record(DrawOp&& op, bool holdable);
    void RecordImage(DrawOp&& op, const Bitmap& bitmap);
    // Draws what was recorded so far; the rest of the frame can no longer be compared.
    void DrawRecorded();

    SizeU m_Size;
    float m_DpiX, m_DpiY;
    PixelFormat m_Format;
    Matrix3x2 m_Transform;
    AntialiasMode m_Antialias = AntialiasMode::Aliased;
    bool m_Drawing = false;
    bool m_Compatible = false;
    RasterOptions m_Options;
    std::unique_ptr<Native> m_Native;
};

}  // namespace Gfx
