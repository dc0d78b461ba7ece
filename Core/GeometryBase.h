#pragma once
#include <map>
#include <memory>
#include <string>

#include "Core/MaskData.h"
#include "Core/Resource.h"
#include "Gfx/Geometry.h"

namespace ZEL {

class Factory;

class GeometryBase : public Resource<Gfx::Geometry, CleanupReset> {
  public:
    // Sets *hit when the point (document space) lies inside and hit testing is on;
    // once *hit is set nothing more is tested.
    void HitTest(Gfx::Point2F point, bool* hit);
    // Tight bounds of the built geometry under transform; false when it cannot be built.
    bool Bounds(const Gfx::Matrix3x2& transform, Gfx::RectF* bounds);

    Factory* m_EngineFactory = nullptr;
    std::string name;          // key of the cached masks
    uint64_t m_MaskScope = 0;  // serial number of the document that defines it
    bool m_HitTest = false;
    std::shared_ptr<MaskData> m_FillMask;
    bool m_FillMaskImpossible = false;  // its own bounds are too large for a mask
    std::map<float, std::shared_ptr<MaskData>> m_StrokeMasks;
};

}  // namespace ZEL
