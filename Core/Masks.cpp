#include "Core/Masks.h"

#include <cmath>
#include <sstream>

#include "Core/CheckResult.h"
#include "Core/Factory.h"
#include "Core/GeometryBase.h"
#include "Gfx/RenderTarget.h"

namespace ZEL {

namespace {

constexpr float kMaxMaskSize = 2.0f;  // DIPs, padded
constexpr float kPadding = 1.0f;      // DIPs on every side

std::string WidthText(float width) {
    std::ostringstream text;
    text << width;
    return text.str();
}

// Draws the geometry into a new A8 target sized to its padded bounds; empty when the
// geometry is empty or too large for a mask.
std::shared_ptr<MaskData> BuildMask(Gfx::Geometry& geometry, const Gfx::RectF& bounds,
                                    const float* strokeWidth, Gfx::RenderTarget* rt) {
    if (std::isnan(bounds.left) || std::isnan(bounds.right) || bounds.right < bounds.left) {
        return nullptr;
    }
    const float left = bounds.left - kPadding, top = bounds.top - kPadding;
    const float width = bounds.right + kPadding - left;
    const float height = bounds.bottom + kPadding - top;
    if (!(width <= kMaxMaskSize) || !(height <= kMaxMaskSize)) {
        return nullptr;
    }
    std::shared_ptr<Gfx::RenderTarget> target;
    CheckResult(Gfx::RenderTarget::CreateCompatible(Gfx::SizeF{width, height}, rt->GetDpiX(),
                                                    Gfx::PixelFormat::A8, &target));
    const Gfx::SolidColorBrush black(Gfx::ColorF{0, 0, 0, 1}, Gfx::BrushProperties{});
    target->BeginDraw();
    target->Clear(Gfx::ColorF{0, 0, 0, 0});
    target->SetTransform(Gfx::Matrix3x2::Translation(-left, -top));
    if (strokeWidth) {
        target->DrawGeometry(geometry, black, *strokeWidth);
    } else {
        target->FillGeometry(geometry, black);
    }
    CheckResult(target->EndDraw());
    auto mask = std::make_shared<MaskData>();
    CheckResult(target->GetBitmap(&mask->mask));
    mask->placement = Gfx::Matrix3x2::Translation(left, top);
    return mask;
}

}  // namespace

std::shared_ptr<MaskData> GetFillMask(GeometryBase& geometry, Gfx::RenderTarget* rt) {
    // A static shape too large for a mask stays so: no need to look it up every frame.
    if (geometry.m_FillMask || geometry.m_FillMaskImpossible) {
        return geometry.m_FillMask;
    }
    const std::string key = geometry.name + "_fill";
    geometry.m_FillMask = geometry.m_EngineFactory->FindMask(geometry.m_MaskScope, key);
    if (!geometry.m_FillMask) {
        auto shape = geometry.GetResource();
        Gfx::RectF bounds{NAN, NAN, NAN, NAN};
        if (shape) {
            CheckResult(shape->GetBounds(nullptr, &bounds));
            geometry.m_FillMask = BuildMask(*shape, bounds, nullptr, rt);
            // A static shape's bounds never change: measuring again each frame is waste.
            geometry.m_FillMaskImpossible = !geometry.m_FillMask;
        }
        // Stored even when empty; a geometry without a mask looks again at its next use.
        geometry.m_EngineFactory->StoreMask(geometry.m_MaskScope, key, geometry.m_FillMask);
    }
    return geometry.m_FillMask;
}

std::shared_ptr<MaskData> GetStrokeMask(GeometryBase& geometry, float width,
                                        Gfx::RenderTarget* rt) {
    auto found = geometry.m_StrokeMasks.find(width);
    if (found != geometry.m_StrokeMasks.end()) {
        return found->second;
    }
    // A width that cannot be stroked has no widened bounds: it is drawn (as nothing) directly.
    if (!(width >= 0 && std::isfinite(width))) {
        return nullptr;
    }
    const std::string key = geometry.name + "_stroke_" + WidthText(width);
    auto mask = geometry.m_EngineFactory->FindMask(geometry.m_MaskScope, key);
    if (!mask) {
        auto shape = geometry.GetResource();
        if (shape) {
            Gfx::RectF bounds{NAN, NAN, NAN, NAN};
            CheckResult(shape->GetWidenedBounds(width, nullptr, 0.25f, &bounds));
            mask = BuildMask(*shape, bounds, &width, rt);
        }
        geometry.m_EngineFactory->StoreMask(geometry.m_MaskScope, key, mask);
    }
    geometry.m_StrokeMasks[width] = mask;
    return mask;
}

void FillThroughMask(const MaskData& mask, Gfx::Brush& brush, Gfx::RenderTarget* rt) {
    const Gfx::Matrix3x2 savedTarget = rt->GetTransform();
    const Gfx::Matrix3x2 savedBrush = brush.GetTransform();
    Gfx::Matrix3x2 inverse = mask.placement;
    Gfx::Invert(inverse);
    rt->SetTransform(Gfx::Multiply(mask.placement, savedTarget));
    brush.SetTransform(Gfx::Multiply(inverse, savedBrush));
    rt->FillOpacityMask(*mask.mask, brush, nullptr, nullptr);
    rt->SetTransform(savedTarget);
    brush.SetTransform(savedBrush);
}

}  // namespace ZEL
