#include "Core/Transforms.h"

#include <cmath>

namespace ZEL {

std::shared_ptr<Gfx::Matrix3x2> Translation::CreateResource() {
    const float x = m_X.Get();
    const float y = m_Y.Get();
    return std::make_shared<Gfx::Matrix3x2>(Gfx::Matrix3x2::Translation(x, y));
}

std::shared_ptr<Gfx::Matrix3x2> PolarTranslation::CreateResource() {
    const float r = m_R.Get();
    const float t = m_T.Get();
    const auto c = static_cast<float>(std::cos(static_cast<double>(t)));
    const auto s = static_cast<float>(std::sin(static_cast<double>(t)));
    return std::make_shared<Gfx::Matrix3x2>(Gfx::Matrix3x2::Translation(r * c, r * s));
}

std::shared_ptr<Gfx::Matrix3x2> Rotation::CreateResource() {
    return std::make_shared<Gfx::Matrix3x2>(Gfx::Matrix3x2::Rotation(m_T.Get()));
}

std::shared_ptr<Gfx::Matrix3x2> Scale::CreateResource() {
    const float x = m_X.Get();
    const float y = m_Y.Get();
    return std::make_shared<Gfx::Matrix3x2>(Gfx::Matrix3x2::Scale(x, y));
}

}  // namespace ZEL
