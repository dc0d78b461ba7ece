#include "Gfx/Geometry.h"
#include "Gfx/PathMath.h"

namespace Gfx {

namespace {

// Control-point distance that makes a cubic Bézier follow a quarter circle.
constexpr float kKappa = 0.5522847498f;

Result Emit(PathData data, std::shared_ptr<Geometry>* out) {
    if (!out)
        return kInvalidArg;
    try {
        *out = std::make_shared<Geometry>(std::move(data));
    } catch (const std::bad_alloc&) {
        return kOutOfMemory;
    }
    return kOk;
}

PathFigure::Segment Line(float x, float y) {
    return {PathFigure::Kind::Line, {}, {}, {x, y}};
}

}  // namespace


Result CreateRectangleGeometry(const RectF& r, std::shared_ptr<Geometry>* out) {
    PathFigure figure;
    figure.start = {r.left, r.top};
    figure.segments = {Line(r.right, r.top), Line(r.right, r.bottom), Line(r.left, r.bottom),
                       Line(r.left, r.top)};
    figure.closed = true;
    PathData data;
    data.figures.push_back(std::move(figure));
    return Emit(std::move(data), out);
}

Result CreateEllipseGeometry(Point2F c, float rx, float ry, std::shared_ptr<Geometry>* out) {
    const float kx = rx * kKappa, ky = ry * kKappa;
    const float l = c.x - rx, r = c.x + rx, t = c.y - ry, b = c.y + ry;
    PathFigure figure;
    figure.start = {r, c.y};
    using K = PathFigure::Kind;
    // Clockwise in y-down space: right, bottom, left, top.
    figure.segments = {{K::Bezier, {r, c.y + ky}, {c.x + kx, b}, {c.x, b}},
                       {K::Bezier, {c.x - kx, b}, {l, c.y + ky}, {l, c.y}},
                       {K::Bezier, {l, c.y - ky}, {c.x - kx, t}, {c.x, t}},
                       {K::Bezier, {c.x + kx, t}, {r, c.y - ky}, {r, c.y}}};
    figure.closed = true;
    PathData data;
    data.figures.push_back(std::move(figure));
    return Emit(std::move(data), out);
}

namespace {

void TransformFigures(PathData* data, const Matrix3x2& m) {
    for (PathFigure& figure : data->figures) {
        figure.start = m.Apply(figure.start);
        for (PathFigure::Segment& s : figure.segments) {
            s.p3 = m.Apply(s.p3);
            if (s.kind == PathFigure::Kind::Bezier) {
                s.p1 = m.Apply(s.p1);
                s.p2 = m.Apply(s.p2);
            }
        }
    }
}

}  // namespace

Result CreateTransformedGeometry(const Geometry& source, const Matrix3x2& m,
                                 std::shared_ptr<Geometry>* out) {
    PathData data = source.Data();
    TransformFigures(&data, m);
    if (data.glyphs) {
        // Digests are taken after the move: a turned or scaled glyph is another shape.
        std::vector<GlyphOutline> glyphs = *data.glyphs;
        for (GlyphOutline& g : glyphs) g.origin = m.Apply(g.origin);
        data.glyphs = MakeGlyphTable(data, std::move(glyphs));
    }
    return Emit(std::move(data), out);
}

}  // namespace Gfx
