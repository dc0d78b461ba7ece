#pragma once
#include <cairo.h>

#include <memory>

#include "Gfx/Bitmap.h"
#include "Gfx/Geometry.h"
#include "Gfx/Raster/Paint.h"

namespace Gfx {

// Whole device pixels, right and bottom exclusive.
struct PixelRect {
    int left = 0, top = 0, right = 0, bottom = 0;
    bool IsEmpty() const { return right <= left || bottom <= top; }
    bool Intersects(const PixelRect& o) const {
        return left < o.right && o.left < right && top < o.bottom && o.top < bottom;
    }
    PixelRect Intersect(const PixelRect& o) const;
    PixelRect Union(const PixelRect& o) const;
    bool operator==(const PixelRect& o) const {
        return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
    }
};

// One drawing call of a frame with everything it depends on resolved and held: drawn
// later, on any thread, it paints exactly what the call would have painted at once.
struct DrawOp {
    enum class Kind { Clear, Fill, Stroke, Mask, Bitmap };

    Kind kind = Kind::Clear;
    cairo_matrix_t device{};  // user space -> device pixels
    cairo_antialias_t antialias = CAIRO_ANTIALIAS_NONE;
    Paint paint;                               // fill, stroke, mask
    ColorF clearColor;                         // clear
    std::shared_ptr<const Geometry> geometry;  // fill, stroke
    float strokeWidth = 0;
    std::shared_ptr<const Bitmap> bitmap;  // bitmap: the image; mask: the A8 mask
    RectF dest, src;                       // bitmap, mask: user space and bitmap pixels
    float opacity = 1;                     // bitmap
    // Bitmap, mask: device pixels map onto image pixels by whole powers of two along the axes,
    // so sampling comes out the same wherever a composite starts.
    bool exactSampling = false;
    PixelRect bounds;  // every pixel it may touch, within the target

    // Paints the same pixels as o (same objects, matrices and parameters).
    bool SameAs(const DrawOp& o) const;
    // Equal for operations that are the same as each other.
    size_t Hash() const;
};

}  // namespace Gfx
