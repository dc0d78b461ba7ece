#pragma once
#include <cairo.h>

#include <cstdint>

#include "Gfx/Geometry.h"
#include "Gfx/PathMath.h"
#include "Gfx/Raster/EdgeList.h"

namespace Gfx {

// Largest distance, in device pixels, between a curve and the lines that stand for it. An
// edge pixel's coverage is off by at most this fraction of a pixel's area, 1/40 keeping it
// within 7 of 255.
constexpr double kFlatness = 1.0 / 40;

inline PointD Map(const cairo_matrix_t& m, Point2F p) {
    return {m.xx * p.x + m.xy * p.y + m.x0, m.yx * p.x + m.yy * p.y + m.y0};
}

// Writes the filled figures of a path, closed, as device-space edges. Curves are split into
// lines no further than kFlatness from them; a curve that cannot touch the clip becomes the
// line between its ends, which carries the same winding past it.
// Figures first .. first + count - 1 only, when given.
void FlattenFill(const PathData& path, const cairo_matrix_t& device, EdgeList* edges,
                 uint32_t first = 0, uint32_t count = UINT32_MAX);

// Lines the curves of one path may become, at most: a curve as large as the screen needs a
// few hundred, so beyond 64 a curve on average or 32768 in all (only hostile paths get
// there) curves go as their chords, and time and memory stay in proportion to the path.
struct FlattenBudget {
    FlattenBudget() = default;
    explicit FlattenBudget(const PathData& path, uint32_t first = 0, uint32_t count = UINT32_MAX);
    size_t lines = 0;
};

// Calls line(from, to) for the lines standing for one cubic Bézier, in order, within
// tolerance. clip (in the curve's space) lets parts that cannot touch it go as straight
// lines; pass null to flatten everything.
template <typename LineTo>
void FlattenCubic(PointD p0, PointD p1, PointD p2, PointD p3, double tolerance, const BoundsD* clip,
                  FlattenBudget& budget, LineTo&& line);

}  // namespace Gfx

#include "Gfx/Raster/PathFlattener.inl"
