#pragma once
#include <vector>

#include "Core/Composites.h"
#include "Core/Resource.h"
#include "Gfx/Brush.h"

namespace ZEL {

struct GradientStop {
    ValueD position;
    Color color;
};

// Built once, at its brush's first build, and kept: it is in no document table.
class GradientStopCollection : public Resource<Gfx::GradientStopCollection, CleanupReset> {
  public:
    void Append(const GradientStop& stop) { m_Stops.push_back(stop); }

    int m_ExtendMode = 0;  // 0 clamp, 1 wrap, 2 mirror

  protected:
    std::shared_ptr<Gfx::GradientStopCollection> CreateResource() override;

  private:
    std::vector<GradientStop> m_Stops;
};

}  // namespace ZEL
