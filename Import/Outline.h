#pragma once
#include <vector>

#include "Import/Geometry2D.h"

namespace Import {

// Fill outlines that the document's winding rule draws as SVG means them. tolerance is
// the largest deviation from a curve that a flattened result may have (user units).

// The region an even-odd fill of path covers, as a path that fills the same under the
// winding rule: the path itself when that already holds, the same curves with figures
// turned round when nesting alone explains the even-odd region, else polygons.
Path EvenOddToWinding(const Path& path, double tolerance);

enum class LineCap { Butt, Round, Square };
enum class LineJoin { Miter, Round, Bevel };

// The region a stroke of this width, caps and joins covers, as closed polygons.
Path StrokeOutline(const Path& path, double width, LineCap cap, LineJoin join, double miterLimit,
                   double tolerance);

// The dashes of a dash pattern (lengths in user units, on and off in turn, repeated; an
// odd count is doubled) along every figure, starting offset into the pattern: open
// polylines within tolerance of the curves.
Path Dash(const Path& path, std::vector<double> pattern, double offset, double tolerance);

// True when some join of path is mitred under one of the two miter limits and bevelled
// under the other.
bool MiterLimitMatters(const Path& path, double limitA, double limitB);

// The region path fills (by its rule) as polygons that fill it under the winding rule
// with a winding of exactly 0 or 1, so that regions written one after another unite.
Path Normalized(const Path& path, bool evenOdd, double tolerance);

// Area covered by path under the winding (or even-odd) rule, after flattening.
double FilledArea(const Path& path, bool evenOdd, double tolerance);

// The part of subject's fill (by its rule) outside cut's winding fill, as polygons.
Path Subtract(const Path& subject, bool subjectEvenOdd, const Path& cut, double tolerance);

// The part of subject's winding fill inside clip's fill (each with its own rule), as
// polygons.
Path Intersect(const Path& subject, bool subjectEvenOdd, const Path& clip, bool clipEvenOdd,
               double tolerance);

}  // namespace Import
