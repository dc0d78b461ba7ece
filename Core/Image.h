#pragma once
#include "Core/Resource.h"
#include "Gfx/Bitmap.h"

namespace ZEL {

// Base of bitmap resources: built once, never dropped.
class Image : public Resource<Gfx::Bitmap, CleanupNull> {
  public:
    // Called once per document Update.
    virtual void OnUpdate() = 0;
};

}  // namespace ZEL
