#pragma once
#include <string>

#include "Gfx/Types.h"

namespace ZEL {

// One geometry marked for hit testing, as a document's hit test sees it: its bounds mapped
// through the captured hit-test transform (the units HitTest takes) and whether the point
// asked about lies inside it.
struct HitTestShape {
    std::string name;
    Gfx::RectF bounds;  // right < left when the geometry is empty
    bool contains = false;
};

}  // namespace ZEL
