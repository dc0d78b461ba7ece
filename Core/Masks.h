#pragma once
#include <memory>

#include "Core/MaskData.h"

namespace Gfx {
class Brush;
class RenderTarget;
}  // namespace Gfx

namespace ZEL {

class GeometryBase;

// Cached coverage masks of static geometries, shared through the engine factory by name.
// Only geometries whose padded bounds fit in 2 x 2 DIPs get one; the rest are drawn directly.
std::shared_ptr<MaskData> GetFillMask(GeometryBase& geometry, Gfx::RenderTarget* rt);
std::shared_ptr<MaskData> GetStrokeMask(GeometryBase& geometry, float width, Gfx::RenderTarget* rt);
// Paints brush through mask at its placement, keeping the brush where a direct fill puts it.
void FillThroughMask(const MaskData& mask, Gfx::Brush& brush, Gfx::RenderTarget* rt);

}  // namespace ZEL
