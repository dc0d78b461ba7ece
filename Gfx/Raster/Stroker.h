#pragma once
#include <cairo.h>

#include <cstdint>
#include <vector>

#include "Gfx/Geometry.h"
#include "Gfx/PathMath.h"
#include "Gfx/Raster/EdgeList.h"
#include "Gfx/Raster/PathFlattener.h"

namespace Gfx {

// Widens a path into the outline of its stroke, as device-space edges to fill with the
// non-zero rule: flat caps, miter joins that turn into bevels where the miter would be
// longer than 10 widths (the miter limit), every figure stroked whether filled or not. The
// stroke is made in user space, so a transform that stretches one axis stretches the pen too.
// Each side of a figure is its own contour; where a side turns inwards it meets itself at the
// crossing of the two offset lines, so no overlap doubles a pixel.
class Stroker {
  public:
    // Figures first .. first + count - 1 only, when given.
    void Stroke(const PathData& path, float width, const cairo_matrix_t& device, EdgeList* edges,
                uint32_t first = 0, uint32_t count = UINT32_MAX);

  private:
    void Figure(const PathFigure& figure, double tolerance, const BoundsD* cull);
    void Side(size_t first, size_t count, bool closed, bool reversed);
    void Join(PointD at, PointD dIn, PointD dOut, double lenIn, double lenOut);
    void Emit(PointD p);
    void CloseContour();

    std::vector<PointD> m_Points;  // the figure's centre line, flattened
    FlattenBudget m_Budget;        // for all the figures of one path
    const cairo_matrix_t* m_Device = nullptr;
    EdgeList* m_Edges = nullptr;
    double m_Half = 0;  // half the width, user space
    bool m_Started = false;
    PointD m_First{}, m_Last{};  // device space
};

}  // namespace Gfx
