#pragma once
// Backend state behind the opaque Native handles. Private to Gfx/: nothing outside this
// folder may include Cairo.
#include <cairo.h>

#include <cmath>
#include <limits>
#include <memory>
#include <vector>

#include "Gfx/Bitmap.h"
#include "Gfx/Brush.h"
#include "Gfx/Geometry.h"
#include "Gfx/Raster/DrawOp.h"
#include "Gfx/Raster/FrameRasterizer.h"
#include "Gfx/Raster/GradientPaint.h"
#include "Gfx/Raster/OpPainter.h"
#include "Gfx/RenderTarget.h"

namespace Gfx {

// Figures go straight from the path data into the context: cairo_append_path would make
// the same calls, so a prepared Cairo path only costs an extra copy for shapes rebuilt
// every frame.
struct Geometry::Native {
    bool anyFilled = false;  // some figure is filled
};

// Appends the figures (only the filled ones when filledOnly) to the context's path.
void AppendPathData(cairo_t* cr, const PathData& data, bool filledOnly);

struct Brush::Native {
    enum class Kind { Solid, Linear, Radial };
    Kind kind = Kind::Solid;
    ColorF color;
    // Linear: start (x0, y0), end (x1, y1). Radial: centre (x0, y0), origin offset (x1, y1).
    double x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    double rx = 0, ry = 0;
    std::shared_ptr<GradientStopCollection> stops;
    cairo_matrix_t base{};  // user space (brush space) -> pattern space

    // The resolved gradient for the opacity it was last drawn with.
    mutable std::shared_ptr<const GradientPaint> paint;
    mutable float paintOpacity = std::numeric_limits<float>::quiet_NaN();
};

struct Bitmap::Native {
    cairo_surface_t* surface = nullptr;
    float dpi = 96;  // pixels per inch of the source target

    explicit Native(cairo_surface_t* s, float d = 96) : surface(s), dpi(d) {}
    Native(const Native&) = delete;
    Native& operator=(const Native&) = delete;
    ~Native() {
        if (surface)
            cairo_surface_destroy(surface);
    }
};

struct RenderTarget::Native {
    cairo_surface_t* surface = nullptr;
    cairo_t* cr = nullptr;
    cairo_matrix_t device{};  // the target transform followed by the DIP -> pixel scale
    bool deviceValid = true;
    bool misused = false;  // drawn into outside BeginDraw/EndDraw

    std::vector<DrawOp> ops;                  // recorded since BeginDraw or the last pixel access
    bool wholeFrame = true;                   // ops hold everything drawn since BeginDraw
    bool recording = false;                   // this frame records
    std::unique_ptr<FrameRasterizer> raster;  // made at the first recorded frame
    std::unique_ptr<OpPainter> direct;        // draws at once, on this thread

    // The context to draw with, or null when nothing may be drawn now.
    cairo_t* Ready(bool drawing);

    Native() = default;
    Native(const Native&) = delete;
    Native& operator=(const Native&) = delete;
    ~Native() { Release(); }
    void Release() {
        ops.clear();
        raster.reset();
        if (direct)
            direct->EndFrame();
        if (cr)
            cairo_destroy(cr);
        if (surface)
            cairo_surface_destroy(surface);
        cr = nullptr;
        surface = nullptr;
    }
};

// cairo_save / cairo_restore around one drawing call.
class CairoStateGuard {
  public:
    explicit CairoStateGuard(cairo_t* cr) : m_Cr(cr) { cairo_save(cr); }
    ~CairoStateGuard() { cairo_restore(m_Cr); }
    CairoStateGuard(const CairoStateGuard&) = delete;
    CairoStateGuard& operator=(const CairoStateGuard&) = delete;

  private:
    cairo_t* m_Cr;
};

inline cairo_matrix_t ToCairo(const Matrix3x2& m) {
    cairo_matrix_t c;
    cairo_matrix_init(&c, m.m11, m.m12, m.m21, m.m22, m.dx, m.dy);
    return c;
}

// True when Cairo can take m as a transform without entering an error state: finite
// entries and a determinant whose inverse is finite too. Anything that thin draws nothing.
inline bool IsUsableCairoMatrix(const cairo_matrix_t& m) {
    const double det = m.xx * m.yy - m.yx * m.xy;
    return std::isfinite(m.x0) && std::isfinite(m.y0) && std::isfinite(det) &&
           std::fabs(det) > 1e-20 && std::isfinite(m.xx) && std::isfinite(m.yx) &&
           std::isfinite(m.xy) && std::isfinite(m.yy);
}

// Bitmap::Create for pixels that came from a target of the given DPI.
Result CreateBitmapWithDpi(SizeU size, const void* pixels, uint32_t pitch, PixelFormat format,
                           float dpi, std::shared_ptr<Bitmap>* out);

// Largest pixel side an image surface can have.
constexpr uint32_t kMaxSurfaceSide = 32767;

}  // namespace Gfx
