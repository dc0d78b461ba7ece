#include "Gfx/Raster/DrawOp.h"

#include <algorithm>

namespace Gfx {

namespace {
bool SameRect(const RectF& a, const RectF& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

size_t Mix(size_t h, size_t v) {
    return h ^ (v + 0x9e3779b97f4a7c15ull + (h << 6) + (h >> 2));
}
size_t Mix(size_t h, double v) {
    return Mix(h, std::hash<double>()(v));
}
size_t Mix(size_t h, const cairo_matrix_t& m) {
    for (double v : {m.xx, m.yx, m.xy, m.yy, m.x0, m.y0}) h = Mix(h, v);
    return h;
}
}  // namespace

size_t DrawOp::Hash() const {
    size_t h = static_cast<size_t>(kind);
    h = Mix(h, static_cast<size_t>(bounds.left) << 32 ^ static_cast<size_t>(bounds.top));
    h = Mix(h, static_cast<size_t>(bounds.right) << 32 ^ static_cast<size_t>(bounds.bottom));
    h = Mix(h, reinterpret_cast<size_t>(geometry.get()));
    h = Mix(h, reinterpret_cast<size_t>(bitmap.get()));
    h = Mix(h, device);
    if (paint.kind == Paint::Kind::Solid) {
        for (double v : {paint.r, paint.g, paint.b, paint.a}) h = Mix(h, v);
    } else {
        h = Mix(Mix(h, reinterpret_cast<size_t>(paint.gradient.get())), paint.toPattern);
    }
    return Mix(h, static_cast<double>(strokeWidth));
}

PixelRect PixelRect::Intersect(const PixelRect& o) const {
    return {std::max(left, o.left), std::max(top, o.top), std::min(right, o.right),
            std::min(bottom, o.bottom)};
}

PixelRect PixelRect::Union(const PixelRect& o) const {
    if (IsEmpty())
        return o;
    if (o.IsEmpty())
        return *this;
    return {std::min(left, o.left), std::min(top, o.top), std::max(right, o.right),
            std::max(bottom, o.bottom)};
}

bool DrawOp::SameAs(const DrawOp& o) const {
    if (kind != o.kind || !(bounds == o.bounds))
        return false;
    switch (kind) {
        case Kind::Clear:
            return clearColor.r == o.clearColor.r && clearColor.g == o.clearColor.g &&
                   clearColor.b == o.clearColor.b && clearColor.a == o.clearColor.a;
        case Kind::Fill:
        case Kind::Stroke:
            return geometry == o.geometry && strokeWidth == o.strokeWidth &&
                   antialias == o.antialias && SameMatrix(device, o.device) && paint == o.paint;
        case Kind::Mask:
            return bitmap == o.bitmap && antialias == o.antialias && SameRect(dest, o.dest) &&
                   SameRect(src, o.src) && SameMatrix(device, o.device) && paint == o.paint;
        case Kind::Bitmap:
            return bitmap == o.bitmap && exactSampling == o.exactSampling &&
                   antialias == o.antialias && opacity == o.opacity && SameRect(dest, o.dest) &&
                   SameRect(src, o.src) && SameMatrix(device, o.device);
    }
    return false;
}

}  // namespace Gfx
