#pragma once
#include <vector>

#include "Gfx/Geometry.h"
#include "Gfx/PathMath.h"

namespace Gfx {

// One side of a Boolean operation: flattened polygons and the rule that fills them.
struct Operand {
    std::vector<Polyline> polygons;
    FillMode fillMode;
};

// Writes first (op) second to sink as closed polygons with the alternate fill rule.
Result CombineOperands(const Operand& first, const Operand& second, CombineMode mode,
                       GeometrySink* sink);

}  // namespace Gfx
