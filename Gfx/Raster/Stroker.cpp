#include "Gfx/Raster/Stroker.h"

#include <algorithm>
#include <cmath>

#include "Gfx/Raster/PathFlattener.h"

namespace Gfx {

namespace {

constexpr double kMiterLimit = 10;
// 1 + cos(turn) below this: the miter would be longer than the limit allows.
constexpr double kMiterFloor = 2 / (kMiterLimit * kMiterLimit);

double Stretch(const cairo_matrix_t& m) {
    return std::sqrt(m.xx * m.xx + m.yx * m.yx + m.xy * m.xy + m.yy * m.yy);
}

PointD Add(PointD a, PointD b, double k = 1) {
    return {a.x + b.x * k, a.y + b.y * k};
}

// The user-space box beyond which nothing of the stroke can reach the clip.
bool CullBox(const cairo_matrix_t& device, const PixelRect& clip, double reach, BoundsD* out) {
    cairo_matrix_t inverse = device;
    if (cairo_matrix_invert(&inverse) != CAIRO_STATUS_SUCCESS)
        return false;
    for (const double x : {clip.left - 1.0, clip.right + 1.0})
        for (const double y : {clip.top - 1.0, clip.bottom + 1.0})
            out->Add({inverse.xx * x + inverse.xy * y + inverse.x0,
                      inverse.yx * x + inverse.yy * y + inverse.y0});
    out->left -= reach, out->top -= reach, out->right += reach, out->bottom += reach;
    return std::isfinite(out->left) && std::isfinite(out->right) && std::isfinite(out->top) &&
           std::isfinite(out->bottom);
}

}  // namespace

void Stroker::Stroke(const PathData& path, float width, const cairo_matrix_t& device,
                     EdgeList* edges, uint32_t first, uint32_t count) {
    m_Device = &device;
    m_Edges = edges;
    m_Half = width / 2.0;
    const double stretch = Stretch(device);
    if (!(stretch > 0) || !std::isfinite(stretch))
        return;
    // Never finer than the path's own numbers can say: single floats hold about seven
    // digits, so a curve drawn under an enormous scale is flattened as its points allow.
    double magnitude = 0;
    const size_t end = std::min<size_t>(path.figures.size(), size_t{first} + count);
    for (size_t f = first; f < end; ++f) {
        const auto grow = [&magnitude](Point2F p) {
            magnitude = std::max({magnitude, std::fabs(double(p.x)), std::fabs(double(p.y))});
        };
        grow(path.figures[f].start);
        for (const PathFigure::Segment& s : path.figures[f].segments) grow(s.p3);
    }
    const double tolerance = std::max(kFlatness / stretch, magnitude * 1e-7);
    m_Budget = FlattenBudget(path, first, count);
    BoundsD cull;
    const bool culling = CullBox(device, edges->Clip(), m_Half * kMiterLimit * 1.5 + 1, &cull);
    for (size_t f = first; f < end; ++f)
        Figure(path.figures[f], tolerance, culling ? &cull : nullptr);
}

void Stroker::Figure(const PathFigure& figure, double tolerance, const BoundsD* cull) {
    m_Points.clear();
    const auto add = [this](PointD p) {
        if (m_Points.empty() || p.x != m_Points.back().x || p.y != m_Points.back().y)
            m_Points.push_back(p);
    };
    PointD at{figure.start.x, figure.start.y};
    add(at);
    for (const PathFigure::Segment& s : figure.segments) {
        const PointD to{s.p3.x, s.p3.y};
        if (s.kind == PathFigure::Kind::Line) {
            add(to);
        } else {
            FlattenCubic(at, {s.p1.x, s.p1.y}, {s.p2.x, s.p2.y}, to, tolerance, cull, m_Budget,
                         [&add](PointD, PointD b) { add(b); });
        }
        at = to;
    }
    bool closed = figure.closed;
    if (closed && m_Points.size() > 1 && m_Points.back().x == m_Points.front().x &&
        m_Points.back().y == m_Points.front().y)
        m_Points.pop_back();
    if (m_Points.size() < 2)
        return;  // a point, or a figure that never moves: flat caps draw nothing
    // A closed figure of two points goes there and back: both joins turn fully, a bar
    // without caps.
    if (closed) {
        Side(0, m_Points.size(), true, false);
        Side(0, m_Points.size(), true, true);
    } else {
        // One contour: along the left side, across the end, back along the right side.
        Side(0, m_Points.size(), false, false);
        Side(0, m_Points.size(), false, true);
        CloseContour();
    }
}

// The offset on the left of the centre line (of the reversed line: its right), with joins.
void Stroker::Side(size_t first, size_t count, bool closed, bool reversed) {
    const auto point = [&](size_t i) {
        i %= count;
        return m_Points[first + (reversed ? count - 1 - i : i)];
    };
    const size_t segments = closed ? count : count - 1;
    const auto dir = [&](size_t i, double* len) {
        const PointD a = point(i), b = point(i + 1);
        const double dx = b.x - a.x, dy = b.y - a.y;
        *len = std::sqrt(dx * dx + dy * dy);
        return PointD{dx / *len, dy / *len};
    };
    double lenIn = 0, lenOut = 0;
    if (closed) {
        PointD dIn = dir(segments - 1, &lenIn);
        for (size_t i = 0; i < segments; ++i) {
            const PointD dOut = dir(i, &lenOut);
            Join(point(i), dIn, dOut, lenIn, lenOut);
            dIn = dOut;
            lenIn = lenOut;
        }
        CloseContour();
        return;
    }
    PointD dIn = dir(0, &lenIn);
    Emit(Add(point(0), {-dIn.y, dIn.x}, m_Half));
    for (size_t i = 1; i < segments; ++i) {
        const PointD dOut = dir(i, &lenOut);
        Join(point(i), dIn, dOut, lenIn, lenOut);
        dIn = dOut;
        lenIn = lenOut;
    }
    Emit(Add(point(segments), {-dIn.y, dIn.x}, m_Half));
}

void Stroker::Join(PointD at, PointD dIn, PointD dOut, double lenIn, double lenOut) {
    const PointD nIn{-dIn.y, dIn.x}, nOut{-dOut.y, dOut.x};
    const double cosine = dIn.x * dOut.x + dIn.y * dOut.y;
    const double cross = dIn.x * dOut.y - dIn.y * dOut.x;
    const double onePlus = 1 + cosine;
    // Where the two offset lines of this side cross.
    const auto crossing = [&] { return Add(at, Add(nIn, nOut), m_Half / onePlus); };
    if (cross < 0) {
        // The outer side: a miter, or a bevel beyond the limit.
        if (onePlus >= kMiterFloor) {
            Emit(crossing());
        } else {
            Emit(Add(at, nIn, m_Half));
            Emit(Add(at, nOut, m_Half));
        }
        return;
    }
    if (cross == 0 && cosine > 0) {
        Emit(Add(at, nIn, m_Half));  // straight on
        return;
    }
    // The inner side: the crossing where it lies on both segments, else through the centre.
    const double back = onePlus > 1e-12 ? m_Half * std::fabs(cross) / onePlus : INFINITY;
    if (back <= lenIn && back <= lenOut) {
        Emit(crossing());
    } else {
        Emit(Add(at, nIn, m_Half));
        Emit(at);
        Emit(Add(at, nOut, m_Half));
    }
}

void Stroker::Emit(PointD p) {
    const cairo_matrix_t& m = *m_Device;
    const PointD d{m.xx * p.x + m.xy * p.y + m.x0, m.yx * p.x + m.yy * p.y + m.y0};
    if (m_Started)
        m_Edges->Line(m_Last.x, m_Last.y, d.x, d.y);
    else
        m_First = d;
    m_Started = true;
    m_Last = d;
}

void Stroker::CloseContour() {
    if (m_Started)
        m_Edges->Line(m_Last.x, m_Last.y, m_First.x, m_First.y);
    m_Started = false;
}

}  // namespace Gfx
