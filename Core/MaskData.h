#pragma once
#include <memory>

#include "Gfx/Bitmap.h"
#include "Gfx/Matrix.h"

namespace ZEL {

// A pre-rendered A8 coverage mask of a static geometry and where it sits.
struct MaskData {
    std::shared_ptr<Gfx::Bitmap> mask;
    Gfx::Matrix3x2 placement;  // translation to the padded bounds' top-left corner
};

}  // namespace ZEL
