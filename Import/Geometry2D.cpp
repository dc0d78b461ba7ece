#include "Import/Geometry2D.h"

#include <algorithm>

namespace Import {

namespace {

// Control-point distance of a quarter ellipse drawn as one cubic Bézier.
constexpr double kKappa = 0.5522847498307936;
constexpr double kPi = 3.14159265358979323846;

Point Lerp(Point a, Point b, double t) {
    return {a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t};
}

Point CubicAt(Point p0, Point p1, Point p2, Point p3, double t) {
    const double u = 1 - t;
    const double w0 = u * u * u, w1 = 3 * u * u * t, w2 = 3 * u * t * t, w3 = t * t * t;
    return {w0 * p0.x + w1 * p1.x + w2 * p2.x + w3 * p3.x,
            w0 * p0.y + w1 * p1.y + w2 * p2.y + w3 * p3.y};
}

// Roots in (0, 1) of the derivative of one coordinate of a cubic.
void ExtremeTimes(double p0, double p1, double p2, double p3, std::vector<double>* out) {
    const double a = -p0 + 3 * p1 - 3 * p2 + p3;
    const double b = 2 * (p0 - 2 * p1 + p2);
    const double c = p1 - p0;
    auto keep = [out](double t) {
        if (t > 0 && t < 1) {
            out->push_back(t);
        }
    };
    if (std::fabs(a) < 1e-12) {
        if (std::fabs(b) > 1e-12) {
            keep(-c / b);
        }
        return;
    }
    const double disc = b * b - 4 * a * c;
    if (disc < 0) {
        return;
    }
    const double root = std::sqrt(disc);
    keep((-b + root) / (2 * a));
    keep((-b - root) / (2 * a));
}

double DistanceToLine(Point p, Point a, Point b) {
    const double dx = b.x - a.x, dy = b.y - a.y;
    const double len = std::hypot(dx, dy);
    if (len == 0) {
        return std::hypot(p.x - a.x, p.y - a.y);
    }
    return std::fabs((p.x - a.x) * dy - (p.y - a.y) * dx) / len;
}

void FlattenCubic(Point p0, Point p1, Point p2, Point p3, double tolerance, int depth,
                  std::vector<Point>* out) {
    const double flat = std::max(DistanceToLine(p1, p0, p3), DistanceToLine(p2, p0, p3));
    if (flat <= tolerance || depth >= 16) {
        out->push_back(p3);
        return;
    }
    const Point a = Lerp(p0, p1, 0.5), b = Lerp(p1, p2, 0.5), c = Lerp(p2, p3, 0.5);
    const Point ab = Lerp(a, b, 0.5), bc = Lerp(b, c, 0.5), mid = Lerp(ab, bc, 0.5);
    FlattenCubic(p0, a, ab, mid, tolerance, depth + 1, out);
    FlattenCubic(mid, bc, c, p3, tolerance, depth + 1, out);
}

}  // namespace

bool Affine::Invert(Affine* out) const {
    const double det = Determinant();
    if (!(std::isfinite(det) && std::fabs(det) > 1e-300) || !IsFinite()) {
        return false;
    }
    const double ia = d / det, ib = -b / det, ic = -c / det, id = a / det;
    *out = {ia, ib, ic, id, -(ia * e + ic * f), -(ib * e + id * f)};
    return true;
}

Affine Affine::Rotate(double degrees) {
    // Quarter turns exactly, so rectangles stay on whole units.
    const double r = degrees * kPi / 180;
    double c = std::cos(r), s = std::sin(r);
    if (std::fmod(degrees, 90.0) == 0) {
        c = std::round(c);
        s = std::round(s);
    }
    return {c, s, -s, c, 0, 0};
}

Affine operator*(const Affine& m, const Affine& n) {
    return {m.a * n.a + m.c * n.b, m.b * n.a + m.d * n.b,       m.a * n.c + m.c * n.d,
            m.b * n.c + m.d * n.d, m.a * n.e + m.c * n.f + m.e, m.b * n.e + m.d * n.f + m.f};
}

void Box::Add(Point p) {
    left = std::min(left, p.x);
    right = std::max(right, p.x);
    top = std::min(top, p.y);
    bottom = std::max(bottom, p.y);
}

bool Box::Intersects(const Box& o) const {
    return !Empty() && !o.Empty() && left < o.right && o.left < right && top < o.bottom &&
           o.top < bottom;
}

Path Transformed(const Path& path, const Affine& m) {
    Path out = path;
    for (auto& figure : out.figures) {
        figure.start = m.Apply(figure.start);
        for (auto& s : figure.segments) {
            s.p1 = m.Apply(s.p1);
            s.p2 = m.Apply(s.p2);
            s.p3 = m.Apply(s.p3);
        }
    }
    return out;
}

Box HullOf(const Path& path) {
    Box box;
    for (const auto& figure : path.figures) {
        box.Add(figure.start);
        for (const auto& s : figure.segments) {
            if (s.kind == Segment::Kind::Cubic) {
                box.Add(s.p1);
                box.Add(s.p2);
            }
            box.Add(s.p3);
        }
    }
    return box;
}

Box BoundsOf(const Path& path) {
    Box box;
    for (const auto& figure : path.figures) {
        Point current = figure.start;
        box.Add(current);
        for (const auto& s : figure.segments) {
            if (s.kind == Segment::Kind::Cubic) {
                std::vector<double> times;
                ExtremeTimes(current.x, s.p1.x, s.p2.x, s.p3.x, &times);
                ExtremeTimes(current.y, s.p1.y, s.p2.y, s.p3.y, &times);
                for (double t : times) {
                    box.Add(CubicAt(current, s.p1, s.p2, s.p3, t));
                }
            }
            box.Add(s.p3);
            current = s.p3;
        }
    }
    return box;
}

std::vector<std::vector<Point>> Flatten(const Path& path, double tolerance) {
    std::vector<std::vector<Point>> polygons;
    for (const auto& figure : path.figures) {
        std::vector<Point> polygon{figure.start};
        for (const auto& s : figure.segments) {
            if (s.kind == Segment::Kind::Cubic) {
                FlattenCubic(polygon.back(), s.p1, s.p2, s.p3, tolerance, 0, &polygon);
            } else {
                polygon.push_back(s.p3);
            }
        }
        polygons.push_back(std::move(polygon));
    }
    return polygons;
}

Path RectanglePath(double x, double y, double w, double h, double rx, double ry) {
    Figure f;
    f.closed = true;
    auto line = [&f](double px, double py) {
        f.segments.push_back({Segment::Kind::Line, {}, {}, {px, py}});
    };
    auto corner = [&f](Point from, Point control, Point to) {
        const Point p1 = Lerp(from, control, kKappa), p2 = Lerp(to, control, kKappa);
        f.segments.push_back({Segment::Kind::Cubic, p1, p2, to});
    };
    if (rx <= 0 || ry <= 0) {
        f.start = {x, y};
        line(x + w, y);
        line(x + w, y + h);
        line(x, y + h);
    } else {
        f.start = {x + rx, y};
        line(x + w - rx, y);
        corner({x + w - rx, y}, {x + w, y}, {x + w, y + ry});
        line(x + w, y + h - ry);
        corner({x + w, y + h - ry}, {x + w, y + h}, {x + w - rx, y + h});
        line(x + rx, y + h);
        corner({x + rx, y + h}, {x, y + h}, {x, y + h - ry});
        line(x, y + ry);
        corner({x, y + ry}, {x, y}, {x + rx, y});
    }
    Path path;
    path.figures.push_back(std::move(f));
    return path;
}

Path EllipsePath(double cx, double cy, double rx, double ry) {
    const double kx = rx * kKappa, ky = ry * kKappa;
    Figure f;
    f.closed = true;
    f.start = {cx + rx, cy};
    f.segments.push_back(
        {Segment::Kind::Cubic, {cx + rx, cy + ky}, {cx + kx, cy + ry}, {cx, cy + ry}});
    f.segments.push_back(
        {Segment::Kind::Cubic, {cx - kx, cy + ry}, {cx - rx, cy + ky}, {cx - rx, cy}});
    f.segments.push_back(
        {Segment::Kind::Cubic, {cx - rx, cy - ky}, {cx - kx, cy - ry}, {cx, cy - ry}});
    f.segments.push_back(
        {Segment::Kind::Cubic, {cx + kx, cy - ry}, {cx + rx, cy - ky}, {cx + rx, cy}});
    Path path;
    path.figures.push_back(std::move(f));
    return path;
}

}  // namespace Import
