#include "Gfx/Geometry.h"

#include <algorithm>
#include <cmath>

#include "Gfx/CairoNative.h"
#include "Gfx/Combine.h"
#include "Gfx/PathMath.h"
#include "Gfx/ScratchContext.h"

namespace Gfx {

namespace {

// Beyond this a coordinate is hostile or a bug; Cairo's fixed-point math cannot hold it.
constexpr float kMaxCoordinate = 1e7f;

bool Usable(Point2F p) {
    return std::isfinite(p.x) && std::isfinite(p.y) && std::fabs(p.x) <= kMaxCoordinate &&
           std::fabs(p.y) <= kMaxCoordinate;
}

bool AllUsable(const PathData& data) {
    for (const PathFigure& figure : data.figures) {
        if (!Usable(figure.start))
            return false;
        for (const PathFigure::Segment& s : figure.segments) {
            if (!Usable(s.p3))
                return false;
            if (s.kind == PathFigure::Kind::Bezier && (!Usable(s.p1) || !Usable(s.p2)))
                return false;
        }
    }
    return true;
}

bool UsableTransform(const Matrix3x2* transform) {
    return !transform || (transform->IsFinite() && !transform->IsSingular());
}

}  // namespace

void AppendPathData(cairo_t* cr, const PathData& data, bool filledOnly) {
    for (const PathFigure& figure : data.figures) {
        if (filledOnly && !figure.filled)
            continue;
        cairo_move_to(cr, figure.start.x, figure.start.y);
        for (const PathFigure::Segment& seg : figure.segments) {
            if (seg.kind == PathFigure::Kind::Line)
                cairo_line_to(cr, seg.p3.x, seg.p3.y);
            else
                cairo_curve_to(cr, seg.p1.x, seg.p1.y, seg.p2.x, seg.p2.y, seg.p3.x, seg.p3.y);
        }
        if (figure.closed)
            cairo_close_path(cr);
    }
}

namespace {

RectF HullOf(const PathData& data) {
    RectF r{INFINITY, INFINITY, -INFINITY, -INFINITY};
    auto add = [&r](Point2F p) {
        r.left = std::min(r.left, p.x);
        r.top = std::min(r.top, p.y);
        r.right = std::max(r.right, p.x);
        r.bottom = std::max(r.bottom, p.y);
    };
    for (const PathFigure& figure : data.figures) {
        add(figure.start);
        for (const PathFigure::Segment& s : figure.segments) {
            add(s.p3);
            if (s.kind == PathFigure::Kind::Bezier) {
                add(s.p1);
                add(s.p2);
            }
        }
    }
    return r;
}

}  // namespace

Geometry::Geometry(PathData data)
    : m_Data(std::move(data)),
      m_Drawable(AllUsable(m_Data)),
      m_Hull(HullOf(m_Data)),
      m_Native(new Native) {
    for (const PathFigure& figure : m_Data.figures) m_Native->anyFilled |= figure.filled;
}

Geometry::~Geometry() = default;

Result Geometry::GetBounds(const Matrix3x2* transform, RectF* bounds) const {
    if (!bounds)
        return kInvalidArg;
    if (!m_Drawable || !UsableTransform(transform)) {
        *bounds = BoundsD().ToRect();
        return kOk;
    }
    *bounds = TightBounds(m_Data, transform).ToRect();
    return kOk;
}

Result Geometry::GetWidenedBounds(float strokeWidth, const Matrix3x2* transform, float tolerance,
                                  RectF* bounds) const {
    if (!bounds || !std::isfinite(strokeWidth) || strokeWidth < 0)
        return kInvalidArg;
    *bounds = BoundsD().ToRect();
    if (!m_Drawable || !UsableTransform(transform) || m_Data.figures.empty())
        return kOk;
    if (strokeWidth == 0)
        return GetBounds(transform, bounds);

    ScratchContext scratch;
    cairo_t* cr = scratch.Get();
    if (transform) {
        const cairo_matrix_t m = ToCairo(*transform);
        cairo_set_matrix(cr, &m);
    }
    cairo_set_tolerance(cr, SanitizeTolerance(tolerance));
    cairo_set_line_width(cr, strokeWidth);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_MITER);
    cairo_set_miter_limit(cr, 10);
    AppendPathData(cr, m_Data, false);
    double x1, y1, x2, y2;
    cairo_stroke_extents(cr, &x1, &y1, &x2, &y2);
    if (cairo_status(cr) != CAIRO_STATUS_SUCCESS)
        return kFail;
    if (x1 == 0 && y1 == 0 && x2 == 0 && y2 == 0)
        return kOk;  // nothing is stroked
    // The extents are in the untransformed space; mapping their corners is exact for scales
    // and translations and a little generous under rotation.
    BoundsD result;
    const Point2F corners[4] = {{static_cast<float>(x1), static_cast<float>(y1)},
                                {static_cast<float>(x2), static_cast<float>(y1)},
                                {static_cast<float>(x1), static_cast<float>(y2)},
                                {static_cast<float>(x2), static_cast<float>(y2)}};
    for (const Point2F& c : corners) result.Add(MapPoint(transform, c));
    *bounds = result.ToRect();
    return kOk;
}

Result Geometry::FillContainsPoint(Point2F point, const Matrix3x2* transform, float tolerance,
                                   bool* contains) const {
    if (!contains)
        return kInvalidArg;
    *contains = false;
    if (!m_Drawable || !UsableTransform(transform) || !std::isfinite(point.x) ||
        !std::isfinite(point.y))
        return kOk;
    const auto polygons = FlattenPath(m_Data, transform, SanitizeTolerance(tolerance), true);
    *contains = PolygonsContain(polygons, {point.x, point.y}, m_Data.fillMode);
    return kOk;
}

Result Geometry::CombineWithGeometry(const Geometry& input, CombineMode mode,
                                     const Matrix3x2* inputTransform, float tolerance,
                                     GeometrySink* sink) const {
    if (!sink)
        return kInvalidArg;
    const double tol = SanitizeTolerance(tolerance);
    if (!m_Drawable || !input.m_Drawable || !UsableTransform(inputTransform)) {
        sink->SetFillMode(FillMode::Alternate);
        return kOk;  // a hostile operand combines to nothing rather than to garbage
    }
    const Operand first{FlattenPath(m_Data, nullptr, tol, true), m_Data.fillMode};
    const Operand second{FlattenPath(input.m_Data, inputTransform, tol, true),
                         input.m_Data.fillMode};
    return CombineOperands(first, second, mode, sink);
}

std::vector<std::vector<Point2F>> Geometry::Flatten(float tolerance) const {
    std::vector<std::vector<Point2F>> result;
    if (!m_Drawable)
        return result;
    for (const Polyline& line : FlattenPath(m_Data, nullptr, SanitizeTolerance(tolerance), false)) {
        std::vector<Point2F> points;
        points.reserve(line.points.size() + 1);
        for (const PointD& p : line.points)
            points.push_back({static_cast<float>(p.x), static_cast<float>(p.y)});
        // A closed figure repeats its start so the polyline shows the closing edge.
        if (line.closed && points.size() > 1 &&
            (points.back().x != points.front().x || points.back().y != points.front().y))
            points.push_back(points.front());
        result.push_back(std::move(points));
    }
    return result;
}

}  // namespace Gfx
