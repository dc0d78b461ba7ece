#pragma once
#include "Core/Resource.h"
#include "Core/ValueD.h"
#include "Gfx/Matrix.h"

namespace ZEL {

using TransformResource = Resource<Gfx::Matrix3x2, CleanupReset>;

// Offset in DIPs.
class Translation : public TransformResource {
  public:
    Translation(ValueD x, ValueD y) : m_X(x), m_Y(y) {}

  protected:
    std::shared_ptr<Gfx::Matrix3x2> CreateResource() override;

  private:
    ValueD m_X, m_Y;
};

// Distance r in DIPs at angle t in radians.
class PolarTranslation : public TransformResource {
  public:
    PolarTranslation(ValueD r, ValueD t) : m_R(r), m_T(t) {}

  protected:
    std::shared_ptr<Gfx::Matrix3x2> CreateResource() override;

  private:
    ValueD m_R, m_T;
};

// Angle in degrees about the origin; positive turns clockwise (y down).
class Rotation : public TransformResource {
  public:
    explicit Rotation(ValueD t) : m_T(t) {}

  protected:
    std::shared_ptr<Gfx::Matrix3x2> CreateResource() override;

  private:
    ValueD m_T;
};

// Factors about the origin.
class Scale : public TransformResource {
  public:
    Scale(ValueD x, ValueD y) : m_X(x), m_Y(y) {}

  protected:
    std::shared_ptr<Gfx::Matrix3x2> CreateResource() override;

  private:
    ValueD m_X, m_Y;
};

}  // namespace ZEL
