#pragma once
#include "Viewer/OverlayModel.h"

namespace ZEL {

// The hit-test geometries' bounds drawn over the picture, under every window: outlined,
// filled while the pointer is inside the geometry, marked when the last click hit it.
class ShapeLayer {
  public:
    static void Draw(const OverlayModel& overlay);
};

}  // namespace ZEL
