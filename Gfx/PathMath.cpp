#include "Gfx/PathMath.h"

#include <algorithm>
#include <cmath>

namespace Gfx {

namespace {

constexpr double kDefaultTolerance = 0.25;
// Keeps a tiny tolerance on a huge curve from costing unbounded memory.
constexpr int kMaxSegmentsPerCurve = 10000;

PointD CubicAt(const PointD c[4], double t) {
    const double u = 1 - t;
    const double w0 = u * u * u, w1 = 3 * u * u * t, w2 = 3 * u * t * t, w3 = t * t * t;
    return {w0 * c[0].x + w1 * c[1].x + w2 * c[2].x + w3 * c[3].x,
            w0 * c[0].y + w1 * c[1].y + w2 * c[2].y + w3 * c[3].y};
}

// Parameters in (0, 1) where one coordinate of the cubic has zero derivative.
int CubicExtrema(double p0, double p1, double p2, double p3, double out[2]) {
    const double a = -p0 + 3 * p1 - 3 * p2 + p3;
    const double b = 2 * (p0 - 2 * p1 + p2);
    const double c = p1 - p0;
    int n = 0;
    auto keep = [&](double t) {
        if (t > 0 && t < 1)
            out[n++] = t;
    };
    if (std::fabs(a) < 1e-12 * (std::fabs(b) + std::fabs(c) + 1e-300)) {
        if (b != 0)
            keep(-c / b);
        return n;
    }
    const double disc = b * b - 4 * a * c;
    if (disc < 0)
        return 0;
    const double root = std::sqrt(disc);
    keep((-b + root) / (2 * a));
    keep((-b - root) / (2 * a));
    return n;
}

void AddCubicBounds(const PointD c[4], BoundsD* bounds) {
    bounds->Add(c[3]);
    double ts[2];
    int n = CubicExtrema(c[0].x, c[1].x, c[2].x, c[3].x, ts);
    for (int i = 0; i < n; ++i) bounds->Add(CubicAt(c, ts[i]));
    n = CubicExtrema(c[0].y, c[1].y, c[2].y, c[3].y, ts);
    for (int i = 0; i < n; ++i) bounds->Add(CubicAt(c, ts[i]));
}

double Length(double x, double y) {
    return std::sqrt(x * x + y * y);
}

void FlattenCubic(const PointD c[4], double tolerance, std::vector<PointD>* out) {
    // Wang's bound for a cubic: n segments keep the error below 3/4 * M / n^2.
    const double m = std::max(Length(c[0].x - 2 * c[1].x + c[2].x, c[0].y - 2 * c[1].y + c[2].y),
                              Length(c[1].x - 2 * c[2].x + c[3].x, c[1].y - 2 * c[2].y + c[3].y));
    const double wanted = std::ceil(std::sqrt(0.75 * m / tolerance));
    const int n = static_cast<int>(std::clamp(std::isfinite(wanted) ? wanted : 1.0, 1.0,
                                              static_cast<double>(kMaxSegmentsPerCurve)));
    for (int i = 1; i < n; ++i) out->push_back(CubicAt(c, static_cast<double>(i) / n));
    out->push_back(c[3]);
}

}  // namespace

void BoundsD::Add(PointD p) {
    left = std::min(left, p.x);
    top = std::min(top, p.y);
    right = std::max(right, p.x);
    bottom = std::max(bottom, p.y);
}

RectF BoundsD::ToRect() const {
    return {static_cast<float>(left), static_cast<float>(top), static_cast<float>(right),
            static_cast<float>(bottom)};
}

PointD MapPoint(const Matrix3x2* t, Point2F p) {
    if (!t)
        return {p.x, p.y};
    return {static_cast<double>(p.x) * t->m11 + static_cast<double>(p.y) * t->m21 + t->dx,
            static_cast<double>(p.x) * t->m12 + static_cast<double>(p.y) * t->m22 + t->dy};
}

BoundsD TightBounds(const PathData& data, const Matrix3x2* transform) {
    BoundsD bounds;
    for (const PathFigure& figure : data.figures) {
        PointD current = MapPoint(transform, figure.start);
        bounds.Add(current);
        for (const PathFigure::Segment& s : figure.segments) {
            if (s.kind == PathFigure::Kind::Line) {
                current = MapPoint(transform, s.p3);
                bounds.Add(current);
                continue;
            }
            const PointD c[4] = {current, MapPoint(transform, s.p1), MapPoint(transform, s.p2),
                                 MapPoint(transform, s.p3)};
            AddCubicBounds(c, &bounds);
            current = c[3];
        }
    }
    return bounds;
}

std::vector<Polyline> FlattenPath(const PathData& data, const Matrix3x2* transform,
                                  double tolerance, bool filledOnly) {
    std::vector<Polyline> result;
    result.reserve(data.figures.size());
    for (const PathFigure& figure : data.figures) {
        if (filledOnly && !figure.filled)
            continue;
        Polyline line;
        line.closed = figure.closed;
        line.points.push_back(MapPoint(transform, figure.start));
        for (const PathFigure::Segment& s : figure.segments) {
            if (s.kind == PathFigure::Kind::Line) {
                line.points.push_back(MapPoint(transform, s.p3));
                continue;
            }
            const PointD c[4] = {line.points.back(), MapPoint(transform, s.p1),
                                 MapPoint(transform, s.p2), MapPoint(transform, s.p3)};
            FlattenCubic(c, tolerance, &line.points);
        }
        result.push_back(std::move(line));
    }
    return result;
}

bool PolygonsContain(const std::vector<Polyline>& polygons, PointD p, FillMode mode) {
    int winding = 0;
    int crossings = 0;
    for (const Polyline& poly : polygons) {
        const size_t n = poly.points.size();
        for (size_t i = 0; i < n; ++i) {
            const PointD a = poly.points[i];
            const PointD b = poly.points[(i + 1) % n];
            const bool upward = a.y <= p.y && b.y > p.y;
            const bool downward = b.y <= p.y && a.y > p.y;
            if (!upward && !downward)
                continue;
            // Side of p relative to the edge a->b; the crossing counts when p lies to its left.
            const double cross = (b.x - a.x) * (p.y - a.y) - (p.x - a.x) * (b.y - a.y);
            if (upward && cross > 0) {
                ++winding;
                ++crossings;
            } else if (downward && cross < 0) {
                --winding;
                ++crossings;
            }
        }
    }
    return mode == FillMode::Winding ? winding != 0 : (crossings & 1) != 0;
}

double SanitizeTolerance(float tolerance) {
    if (!std::isfinite(tolerance) || tolerance <= 0)
        return kDefaultTolerance;
    return tolerance;
}

}  // namespace Gfx

namespace Gfx {

namespace {

// Coordinates relative to a glyph's origin, rounded to 1/1024 unit, so that a glyph laid
// out again elsewhere (where float rounding moves its points by a hair) keeps its digest.
uint64_t Quantised(float v) {
    return static_cast<uint64_t>(std::llround(static_cast<double>(v) * 1024));
}

uint64_t Mix(uint64_t h, uint64_t v) {
    h ^= v + 0x9e3779b97f4a7c15ull + (h << 6) + (h >> 2);
    return h * 0xff51afd7ed558ccdull;
}

uint64_t Digest(const PathData& data, const GlyphOutline& g) {
    uint64_t h = g.figureCount;
    const auto point = [&](Point2F p) {
        h = Mix(h, Quantised(p.x - g.origin.x));
        h = Mix(h, Quantised(p.y - g.origin.y));
    };
    for (uint32_t f = g.firstFigure; f < g.firstFigure + g.figureCount; ++f) {
        const PathFigure& figure = data.figures[f];
        h = Mix(h, figure.segments.size() * 4 + figure.closed * 2 + figure.filled);
        point(figure.start);
        for (const PathFigure::Segment& s : figure.segments) {
            h = Mix(h, static_cast<uint64_t>(s.kind));
            if (s.kind == PathFigure::Kind::Bezier) {
                point(s.p1);
                point(s.p2);
            }
            point(s.p3);
        }
    }
    return h;
}

}  // namespace

std::shared_ptr<const std::vector<GlyphOutline>> MakeGlyphTable(const PathData& data,
                                                                std::vector<GlyphOutline> glyphs) {
    if (glyphs.empty() || glyphs.front().firstFigure != 0)
        return nullptr;
    const uint32_t figures = static_cast<uint32_t>(data.figures.size());
    for (size_t i = 0; i < glyphs.size(); ++i) {
        const uint32_t end = i + 1 < glyphs.size() ? glyphs[i + 1].firstFigure : figures;
        if (end < glyphs[i].firstFigure)
            return nullptr;
        glyphs[i].figureCount = end - glyphs[i].firstFigure;
        glyphs[i].shape = Digest(data, glyphs[i]);
    }
    return std::make_shared<const std::vector<GlyphOutline>>(std::move(glyphs));
}

}  // namespace Gfx
