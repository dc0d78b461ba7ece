#include "Gfx/Raster/PathFlattener.h"

#include <algorithm>

namespace Gfx {

FlattenBudget::FlattenBudget(const PathData& path, uint32_t first, uint32_t count) {
    size_t curves = 0;
    const size_t end = std::min<size_t>(path.figures.size(), size_t{first} + count);
    for (size_t f = first; f < end; ++f)
        for (const PathFigure::Segment& s : path.figures[f].segments)
            curves += s.kind == PathFigure::Kind::Bezier;
    lines = std::max<size_t>(32768, curves * 64);
}

void FlattenFill(const PathData& path, const cairo_matrix_t& device, EdgeList* edges,
                 uint32_t first, uint32_t count) {
    const PixelRect& c = edges->Clip();
    // A pixel of margin: a curve just outside still has to be seen as a curve when its
    // chord would cut into the clip.
    const BoundsD clip{c.left - 1.0, c.top - 1.0, c.right + 1.0, c.bottom + 1.0};
    const auto line = [edges](PointD a, PointD b) { edges->Line(a.x, a.y, b.x, b.y); };
    FlattenBudget budget(path, first, count);
    const size_t end = std::min<size_t>(path.figures.size(), size_t{first} + count);
    for (size_t f = first; f < end; ++f) {
        const PathFigure& figure = path.figures[f];
        if (!figure.filled)
            continue;
        const PointD start = Map(device, figure.start);
        PointD at = start;
        for (const PathFigure::Segment& s : figure.segments) {
            const PointD to = Map(device, s.p3);
            if (s.kind == PathFigure::Kind::Line)
                line(at, to);
            else
                FlattenCubic(at, Map(device, s.p1), Map(device, s.p2), to, kFlatness, &clip, budget,
                             line);
            at = to;
        }
        line(at, start);  // filling closes every figure
    }
}

}  // namespace Gfx
