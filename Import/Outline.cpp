#include "Import/Outline.h"

#include <clipper.hpp>
#include <cmath>

namespace Import {

namespace {

// Clipper works on integers: units are scaled so that the tolerance is 64 steps.
struct Scale {
    double factor;
    explicit Scale(double tolerance) : factor(64 / std::max(tolerance, 1e-9)) {}
    ClipperLib::IntPoint To(Point p) const {
        return {static_cast<ClipperLib::cInt>(std::llround(p.x * factor)),
                static_cast<ClipperLib::cInt>(std::llround(p.y * factor))};
    }
    Point From(const ClipperLib::IntPoint& p) const {
        return {static_cast<double>(p.X) / factor, static_cast<double>(p.Y) / factor};
    }
};

ClipperLib::Paths ToPaths(const std::vector<std::vector<Point>>& polygons, const Scale& s) {
    ClipperLib::Paths out;
    for (const auto& polygon : polygons) {
        ClipperLib::Path p;
        for (const auto& point : polygon) {
            p.push_back(s.To(point));
        }
        out.push_back(std::move(p));
    }
    return out;
}

Path FromPaths(const ClipperLib::Paths& paths, const Scale& s) {
    Path out;
    for (const auto& p : paths) {
        if (p.size() < 3) {
            continue;
        }
        Figure f;
        f.closed = true;
        f.start = s.From(p[0]);
        for (size_t i = 1; i < p.size(); ++i) {
            f.segments.push_back({Segment::Kind::Line, {}, {}, s.From(p[i])});
        }
        out.figures.push_back(std::move(f));
    }
    return out;
}

double AreaOf(const ClipperLib::Paths& paths, const Scale& s) {
    double area = 0;
    for (const auto& p : paths) {
        area += ClipperLib::Area(p);
    }
    return std::fabs(area) / (s.factor * s.factor);
}

ClipperLib::Paths Fill(const ClipperLib::Paths& paths, ClipperLib::PolyFillType rule) {
    ClipperLib::Clipper c;
    c.AddPaths(paths, ClipperLib::ptSubject, true);
    ClipperLib::Paths out;
    c.Execute(ClipperLib::ctUnion, out, rule, rule);
    return out;
}

double XorArea(const ClipperLib::Paths& a, const ClipperLib::Paths& b, const Scale& s) {
    ClipperLib::Clipper c;
    c.AddPaths(a, ClipperLib::ptSubject, true);
    c.AddPaths(b, ClipperLib::ptClip, true);
    ClipperLib::Paths out;
    c.Execute(ClipperLib::ctXor, out, ClipperLib::pftNonZero, ClipperLib::pftNonZero);
    return AreaOf(out, s);
}

double SignedArea(const std::vector<Point>& polygon) {
    double area = 0;
    for (size_t i = 0; i < polygon.size(); ++i) {
        const Point& a = polygon[i];
        const Point& b = polygon[(i + 1) % polygon.size()];
        area += a.x * b.y - b.x * a.y;
    }
    return area / 2;
}

Figure Reversed(const Figure& f) {
    Figure r;
    r.closed = f.closed;
    std::vector<Point> ends{f.start};
    for (const auto& s : f.segments) ends.push_back(s.p3);
    r.start = ends.back();
    for (size_t i = f.segments.size(); i-- > 0;) {
        const Segment& s = f.segments[i];
        Segment back;
        back.kind = s.kind;
        back.p3 = ends[i];
        back.p1 = s.p2;
        back.p2 = s.p1;
        r.segments.push_back(back);
    }
    return r;
}

// Direction leaving a segment's start and arriving at its end.
Point StartTangent(Point from, const Segment& s) {
    Point d{s.p1.x - from.x, s.p1.y - from.y};
    if (s.kind == Segment::Kind::Line || (d.x == 0 && d.y == 0)) {
        d = s.kind == Segment::Kind::Line ? Point{s.p3.x - from.x, s.p3.y - from.y}
                                          : Point{s.p2.x - from.x, s.p2.y - from.y};
        if (d.x == 0 && d.y == 0)
            d = {s.p3.x - from.x, s.p3.y - from.y};
    }
    return d;
}

Point EndTangent(Point from, const Segment& s) {
    Point d{s.p3.x - s.p2.x, s.p3.y - s.p2.y};
    if (s.kind == Segment::Kind::Line || (d.x == 0 && d.y == 0)) {
        d = s.kind == Segment::Kind::Line ? Point{s.p3.x - from.x, s.p3.y - from.y}
                                          : Point{s.p3.x - s.p1.x, s.p3.y - s.p1.y};
        if (d.x == 0 && d.y == 0)
            d = {s.p3.x - from.x, s.p3.y - from.y};
    }
    return d;
}

// 1 / sin(theta / 2), theta the angle between the two segments at the join.
double MiterRatio(Point in, Point out) {
    const double li = std::hypot(in.x, in.y), lo = std::hypot(out.x, out.y);
    if (li == 0 || lo == 0)
        return 1;
    const double cosTurn = (in.x * out.x + in.y * out.y) / (li * lo);
    // theta = pi - turn; sin(theta/2) = cos(turn/2) = sqrt((1 + cos turn) / 2)
    const double s = std::sqrt(std::max(0.0, (1 + cosTurn) / 2));
    return s < 1e-9 ? INFINITY : 1 / s;
}

}  // namespace

Path Normalized(const Path& path, bool evenOdd, double tolerance) {
    const Scale s(tolerance);
    return FromPaths(Fill(ToPaths(Flatten(path, tolerance), s),
                          evenOdd ? ClipperLib::pftEvenOdd : ClipperLib::pftNonZero),
                     s);
}

double FilledArea(const Path& path, bool evenOdd, double tolerance) {
    const Scale s(tolerance);
    return AreaOf(Fill(ToPaths(Flatten(path, tolerance), s),
                       evenOdd ? ClipperLib::pftEvenOdd : ClipperLib::pftNonZero),
                  s);
}

Path EvenOddToWinding(const Path& path, double tolerance) {
    const Scale s(tolerance);
    const auto polygons = Flatten(path, tolerance);
    const auto flat = ToPaths(polygons, s);
    const auto evenOdd = Fill(flat, ClipperLib::pftEvenOdd);
    // Rounding noise: a sliver one tolerance wide along every edge would be far larger.
    const double noise = tolerance * tolerance * 4 * static_cast<double>(flat.size() + 1);
    if (XorArea(evenOdd, Fill(flat, ClipperLib::pftNonZero), s) <= noise) {
        return path;
    }
    // Turn each figure so that figures nested an odd number of times run against those
    // around them.
    Path turned = path;
    for (size_t i = 0; i < polygons.size(); ++i) {
        if (polygons[i].size() < 3)
            continue;
        int depth = 0;
        for (size_t j = 0; j < polygons.size(); ++j) {
            if (i != j && polygons[j].size() >= 3 &&
                ClipperLib::PointInPolygon(flat[i][0], flat[j]) == 1) {
                ++depth;
            }
        }
        const bool positive = SignedArea(polygons[i]) > 0;
        if (positive != (depth % 2 == 0)) {
            turned.figures[i] = Reversed(path.figures[i]);
        }
    }
    const auto turnedFlat = ToPaths(Flatten(turned, tolerance), s);
    if (XorArea(evenOdd, Fill(turnedFlat, ClipperLib::pftNonZero), s) <= noise) {
        return turned;
    }
    return FromPaths(evenOdd, s);
}

Path StrokeOutline(const Path& path, double width, LineCap cap, LineJoin join, double miterLimit,
                   double tolerance) {
    const Scale s(tolerance);
    ClipperLib::ClipperOffset offset(std::max(2.0, miterLimit), tolerance * s.factor);
    const ClipperLib::JoinType joinType = join == LineJoin::Round   ? ClipperLib::jtRound
                                          : join == LineJoin::Bevel ? ClipperLib::jtSquare
                                                                    : ClipperLib::jtMiter;
    const ClipperLib::EndType openEnd = cap == LineCap::Round    ? ClipperLib::etOpenRound
                                        : cap == LineCap::Square ? ClipperLib::etOpenSquare
                                                                 : ClipperLib::etOpenButt;
    const auto polygons = Flatten(path, tolerance);
    for (size_t i = 0; i < polygons.size(); ++i) {
        ClipperLib::Path p;
        for (const auto& point : polygons[i]) {
            p.push_back(s.To(point));
        }
        const bool closed = path.figures[i].closed;
        if (closed && p.size() > 1 && p.front() == p.back())
            p.pop_back();
        offset.AddPath(p, joinType, closed ? ClipperLib::etClosedLine : openEnd);
    }
    ClipperLib::Paths out;
    offset.Execute(out, width / 2 * s.factor);
    return FromPaths(out, s);
}

Path Dash(const Path& path, std::vector<double> pattern, double offset, double tolerance) {
    if (pattern.size() % 2 == 1) {
        const std::vector<double> once = pattern;
        pattern.insert(pattern.end(), once.begin(), once.end());
    }
    double period = 0;
    for (double d : pattern) period += d;
    Path out;
    if (!(period > 0) || !std::isfinite(period)) {
        return path;
    }
    // Dashes so short against the drawing that they would only cost: at most this many.
    constexpr size_t kMaxDashes = 100000;
    const auto polygons = Flatten(path, tolerance);
    for (size_t f = 0; f < polygons.size(); ++f) {
        std::vector<Point> points = polygons[f];
        if (path.figures[f].closed && !points.empty())
            points.push_back(points.front());
        // Where in the pattern the figure starts: every figure starts afresh at the offset.
        double phase = std::fmod(offset, period);
        if (phase < 0)
            phase += period;
        size_t index = 0;
        while (phase >= pattern[index]) {
            phase -= pattern[index];
            index = (index + 1) % pattern.size();
        }
        double left = pattern[index] - phase;  // of the current dash or gap
        bool on = index % 2 == 0;
        Figure dash;
        if (on && !points.empty())
            dash.start = points[0];
        for (size_t i = 1; i < points.size(); ++i) {
            Point a = points[i - 1];
            const Point b = points[i];
            double length = std::hypot(b.x - a.x, b.y - a.y);
            while (length > 0) {
                const double step = std::min(left, length);
                const double t = step / length;
                const Point p{a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t};
                if (on)
                    dash.segments.push_back({Segment::Kind::Line, {}, {}, p});
                a = p;
                length -= step;
                left -= step;
                if (left <= 1e-12) {
                    if (on && !dash.segments.empty())
                        out.figures.push_back(dash);
                    if (out.figures.size() > kMaxDashes)
                        return path;
                    dash = Figure{};
                    index = (index + 1) % pattern.size();
                    left = pattern[index];
                    on = !on;
                    dash.start = a;
                }
            }
        }
        if (on && !dash.segments.empty())
            out.figures.push_back(dash);
    }
    return out;
}

bool MiterLimitMatters(const Path& path, double limitA, double limitB) {
    const double low = std::min(limitA, limitB), high = std::max(limitA, limitB);
    for (const auto& f : path.figures) {
        Point current = f.start;
        std::vector<std::pair<Point, Point>> tangents;  // (start, end) of each segment
        for (const auto& seg : f.segments) {
            tangents.push_back({StartTangent(current, seg), EndTangent(current, seg)});
            current = seg.p3;
        }
        // A closed figure's closing side, when it has length, has joins at both ends.
        if (f.closed && (current.x != f.start.x || current.y != f.start.y)) {
            const Segment closing{Segment::Kind::Line, {}, {}, f.start};
            tangents.push_back({StartTangent(current, closing), EndTangent(current, closing)});
        }
        const size_t n = tangents.size();
        for (size_t i = 0; i + 1 < n || (f.closed && i < n); ++i) {
            const double ratio = MiterRatio(tangents[i].second, tangents[(i + 1) % n].first);
            if (ratio > low && ratio <= high) {
                return true;
            }
        }
    }
    return false;
}

namespace {
Path Boolean(ClipperLib::ClipType op, const Path& subject, bool subjectEvenOdd, const Path& clip,
             bool clipEvenOdd, double tolerance) {
    const Scale s(tolerance);
    ClipperLib::Clipper c;
    c.AddPaths(ToPaths(Flatten(subject, tolerance), s), ClipperLib::ptSubject, true);
    c.AddPaths(ToPaths(Flatten(clip, tolerance), s), ClipperLib::ptClip, true);
    ClipperLib::Paths out;
    c.Execute(op, out, subjectEvenOdd ? ClipperLib::pftEvenOdd : ClipperLib::pftNonZero,
              clipEvenOdd ? ClipperLib::pftEvenOdd : ClipperLib::pftNonZero);
    return FromPaths(out, s);
}
}  // namespace

Path Intersect(const Path& subject, bool subjectEvenOdd, const Path& clip, bool clipEvenOdd,
               double tolerance) {
    return Boolean(ClipperLib::ctIntersection, subject, subjectEvenOdd, clip, clipEvenOdd,
                   tolerance);
}

Path Subtract(const Path& subject, bool subjectEvenOdd, const Path& cut, double tolerance) {
    return Boolean(ClipperLib::ctDifference, subject, subjectEvenOdd, cut, false, tolerance);
}

}  // namespace Import
