#include "Core/CombinedGeometry.h"

#include "Core/CheckResult.h"

namespace ZEL {

namespace {
constexpr float kFlatteningTolerance = 0.25f;  // DIPs
}

std::shared_ptr<Gfx::Geometry> CombinedGeometry::CreateResource() {
    // An operand without geometry (an empty text) combines as an empty shape.
    static const auto kEmpty = std::make_shared<Gfx::Geometry>(Gfx::PathData{});
    auto first = m_Geometry1->GetResource();
    auto second = m_Geometry2->GetResource();
    Gfx::PathBuilder builder;
    CheckResult((first ? *first : *kEmpty)
                    .CombineWithGeometry(second ? *second : *kEmpty, m_Mode, nullptr,
                                         kFlatteningTolerance, &builder));
    CheckResult(builder.Close());
    return builder.GetGeometry();
}

}  // namespace ZEL
