#pragma once
#include <cmath>
#include <vector>

namespace Import {

struct Point {
    double x = 0, y = 0;
};

// An SVG affine map: x' = a x + c y + e, y' = b x + d y + f.
struct Affine {
    double a = 1, b = 0, c = 0, d = 1, e = 0, f = 0;

    Point Apply(Point p) const { return {a * p.x + c * p.y + e, b * p.x + d * p.y + f}; }
    Point ApplyLinear(Point p) const { return {a * p.x + c * p.y, b * p.x + d * p.y}; }
    double Determinant() const { return a * d - b * c; }
    // Length scale: how much a unit length grows on average under the map.
    double Scale() const { return std::sqrt(std::fabs(Determinant())); }
    bool IsIdentity() const { return a == 1 && b == 0 && c == 0 && d == 1 && e == 0 && f == 0; }
    bool IsFinite() const {
        return std::isfinite(a) && std::isfinite(b) && std::isfinite(c) && std::isfinite(d) &&
               std::isfinite(e) && std::isfinite(f);
    }
    // False for a singular or non-finite map.
    bool Invert(Affine* out) const;

    static Affine Translate(double x, double y) { return {1, 0, 0, 1, x, y}; }
    static Affine Scaling(double x, double y) { return {x, 0, 0, y, 0, 0}; }
    static Affine Rotate(double degrees);
};

// outer * inner: apply inner first.
Affine operator*(const Affine& outer, const Affine& inner);

struct Segment {
    enum class Kind { Line, Cubic };
    Kind kind = Kind::Line;
    Point p1, p2, p3;  // a line uses p3 only
};

struct Figure {
    Point start;
    std::vector<Segment> segments;
    bool closed = false;
};

struct Path {
    std::vector<Figure> figures;
    bool Empty() const { return figures.empty(); }
};

struct Box {
    double left = INFINITY, top = INFINITY, right = -INFINITY, bottom = -INFINITY;
    bool Empty() const { return !(right >= left && bottom >= top); }
    double Width() const { return right - left; }
    double Height() const { return bottom - top; }
    void Add(Point p);
    bool Intersects(const Box& other) const;
};

Path Transformed(const Path& path, const Affine& m);
// Bounds of every point, control points included (never smaller than the shape).
Box HullOf(const Path& path);
// Tight bounds: the curves' true extremes.
Box BoundsOf(const Path& path);

// Straight-line approximation of every figure, deviating from the curve by at most
// tolerance (user units). Each polygon repeats no point; closed and open alike.
std::vector<std::vector<Point>> Flatten(const Path& path, double tolerance);

Path RectanglePath(double x, double y, double w, double h, double rx, double ry);
Path EllipsePath(double cx, double cy, double rx, double ry);

}  // namespace Import
