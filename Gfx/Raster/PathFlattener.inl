#pragma once
#include <algorithm>
#include <cmath>

#include "Gfx/PathMath.h"

namespace Gfx {

namespace flatten_detail {

// More lines than this for one piece of a curve means it is huge: split it in halves first,
// so the parts outside the clip go as single lines and time stays bounded.
constexpr int kMaxLinesPerPiece = 64;
constexpr int kMaxDepth = 24;

inline bool Outside(const BoundsD& clip, PointD a, PointD b, PointD c,
                    PointD d) {
    const double minX = std::min(std::min(a.x, b.x), std::min(c.x, d.x));
    const double maxX = std::max(std::max(a.x, b.x), std::max(c.x, d.x));
    const double minY = std::min(std::min(a.y, b.y), std::min(c.y, d.y));
    const double maxY = std::max(std::max(a.y, b.y), std::max(c.y, d.y));
    return maxX < clip.left || minX > clip.right || maxY < clip.top || minY > clip.bottom;
}

template <typename LineTo>
void Piece(PointD p0, PointD p1, PointD p2, PointD p3, double tolerance,
           const BoundsD* clip, int depth, FlattenBudget& budget, LineTo& line) {
    if (budget.lines == 0 || (clip && Outside(*clip, p0, p1, p2, p3))) {
        line(p0, p3);
        return;
    }
    // Second differences bound the curve's second derivative: |B''| <= 6 * dd, and the
    // lines of n equal steps stray at most 0.75 * dd / n^2.
    const double ax = p0.x - 2 * p1.x + p2.x, ay = p0.y - 2 * p1.y + p2.y;
    const double bx = p1.x - 2 * p2.x + p3.x, by = p1.y - 2 * p2.y + p3.y;
    const double dd = std::sqrt(std::max(ax * ax + ay * ay, bx * bx + by * by));
    const double steps = std::ceil(std::sqrt(0.75 * dd / tolerance));
    if (!(steps <= kMaxLinesPerPiece) && depth < kMaxDepth) {
        const PointD a{(p0.x + p1.x) / 2, (p0.y + p1.y) / 2};
        const PointD b{(p1.x + p2.x) / 2, (p1.y + p2.y) / 2};
        const PointD c{(p2.x + p3.x) / 2, (p2.y + p3.y) / 2};
        const PointD ab{(a.x + b.x) / 2, (a.y + b.y) / 2};
        const PointD bc{(b.x + c.x) / 2, (b.y + c.y) / 2};
        const PointD mid{(ab.x + bc.x) / 2, (ab.y + bc.y) / 2};
        Piece(p0, a, ab, mid, tolerance, clip, depth + 1, budget, line);
        Piece(mid, bc, c, p3, tolerance, clip, depth + 1, budget, line);
        return;
    }
    // At the depth limit a piece may still want more: it gets the most a piece may have.
    int n = steps >= 1 ? static_cast<int>(std::min<double>(steps, kMaxLinesPerPiece)) : 1;
    n = static_cast<int>(std::min<size_t>(n, budget.lines));
    budget.lines -= n;
    // Forward differences of the cubic at steps of 1/n.
    const double h = 1.0 / n;
    const double cx = 3 * (p1.x - p0.x), cy = 3 * (p1.y - p0.y);
    const double bx2 = 3 * (p2.x - 2 * p1.x + p0.x), by2 = 3 * (p2.y - 2 * p1.y + p0.y);
    const double ax3 = p3.x - p0.x - cx - bx2, ay3 = p3.y - p0.y - cy - by2;
    PointD prev = p0;
    for (int i = 1; i < n; ++i) {
        const double t = i * h;
        const PointD p{((ax3 * t + bx2) * t + cx) * t + p0.x,
                            ((ay3 * t + by2) * t + cy) * t + p0.y};
        line(prev, p);
        prev = p;
    }
    line(prev, p3);
}

}  // namespace flatten_detail

template <typename LineTo>
void FlattenCubic(PointD p0, PointD p1, PointD p2, PointD p3, double tolerance,
                  const BoundsD* clip, FlattenBudget& budget, LineTo&& line) {
    flatten_detail::Piece(p0, p1, p2, p3, tolerance, clip, 0, budget, line);
}

}  // namespace Gfx
