#pragma once
// Geometry computations done in double precision on the path data itself, so they need
// no drawing context and no fixed-point conversion.
#include <limits>
#include <vector>

#include "Gfx/Geometry.h"

namespace Gfx {

struct PointD {
    double x = 0;
    double y = 0;
};

struct BoundsD {
    double left = std::numeric_limits<double>::infinity();
    double top = std::numeric_limits<double>::infinity();
    double right = -std::numeric_limits<double>::infinity();
    double bottom = -std::numeric_limits<double>::infinity();
    void Add(PointD p);
    RectF ToRect() const;
};

struct Polyline {
    std::vector<PointD> points;
    bool closed = false;
};

PointD MapPoint(const Matrix3x2* transform, Point2F p);

// Tight bounds: start points, segment ends and the true extremes of every Bézier.
BoundsD TightBounds(const PathData& data, const Matrix3x2* transform);

// Lines only; curves are split so no point strays more than tolerance from the curve.
// With filledOnly, hollow figures are left out (they take no part in filling).
std::vector<Polyline> FlattenPath(const PathData& data, const Matrix3x2* transform,
                                  double tolerance, bool filledOnly);

// Every polyline is taken as closed, as filling does.
bool PolygonsContain(const std::vector<Polyline>& polygons, PointD p, FillMode mode);

// The glyph table of a path from glyphs whose first figures are set: counts and shape
// digests filled in. Null unless the glyphs take in every figure, in order, from the first.
std::shared_ptr<const std::vector<GlyphOutline>> MakeGlyphTable(const PathData& data,
                                                                std::vector<GlyphOutline> glyphs);

// A usable flattening tolerance: non-finite or non-positive values fall back to 0.25.
double SanitizeTolerance(float tolerance);

}  // namespace Gfx
