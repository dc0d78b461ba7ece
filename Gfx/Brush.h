#pragma once
#include <memory>
#include <vector>

#include "Gfx/Matrix.h"
#include "Gfx/Result.h"

namespace Gfx {

struct GradientStop {
    float position = 0;
    ColorF color;
};

// 0 clamp, 1 wrap, 2 mirror; anything else is rejected when a collection is created.
enum class ExtendMode { Clamp = 0, Wrap = 1, Mirror = 2 };

// Stops in document order (not sorted, not clamped); interpolated in sRGB (gamma 2.2).
class GradientStopCollection {
  public:
    GradientStopCollection(std::vector<GradientStop> stops, ExtendMode mode);
    const std::vector<GradientStop>& Stops() const { return m_Stops; }
    // The same gradient with every stop within 0..1: stops outside that range still shape
    // the colours inside it, and the extend mode repeats or pads the 0..1 part. (Cairo
    // clamps offsets, which would move a stop at -1 to 0.)
    const std::vector<GradientStop>& UnitStops() const { return m_UnitStops; }
    ExtendMode Extend() const { return m_Extend; }

  private:
    std::vector<GradientStop> m_Stops;
    std::vector<GradientStop> m_UnitStops;
    ExtendMode m_Extend;
};

struct BrushProperties {
    float opacity = 1;
    Matrix3x2 transform;
};

// A paint with opacity and its own transform (applied before the target's transform).
class Brush {
  public:
    virtual ~Brush();
    float GetOpacity() const { return m_Props.opacity; }
    void SetOpacity(float opacity) { m_Props.opacity = opacity; }
    const Matrix3x2& GetTransform() const { return m_Props.transform; }
    void SetTransform(const Matrix3x2& m) { m_Props.transform = m; }
    // False when a parameter is non-finite: such a brush paints nothing.
    virtual bool IsPaintable() const = 0;

    // Opaque handle to the backend's pattern; used by RenderTarget only.
    struct Native;
    const Native* GetNative() const { return m_Native.get(); }

  protected:
    explicit Brush(const BrushProperties& props);
    BrushProperties m_Props;
    std::unique_ptr<Native> m_Native;
};

class SolidColorBrush : public Brush {
  public:
    SolidColorBrush(ColorF color, const BrushProperties& props);
    ColorF GetColor() const { return m_Color; }
    bool IsPaintable() const override;

  private:
    ColorF m_Color;
};

class LinearGradientBrush : public Brush {
  public:
    LinearGradientBrush(Point2F start, Point2F end, std::shared_ptr<GradientStopCollection> stops,
                        const BrushProperties& props);
    bool IsPaintable() const override;

  private:
    Point2F m_Start, m_End;
    std::shared_ptr<GradientStopCollection> m_Stops;
};

// An ellipse (center, radii) whose gradient origin sits at center + originOffset.
class RadialGradientBrush : public Brush {
  public:
    RadialGradientBrush(Point2F center, Point2F originOffset, float radiusX, float radiusY,
                        std::shared_ptr<GradientStopCollection> stops,
                        const BrushProperties& props);
    bool IsPaintable() const override;

  private:
    Point2F m_Center, m_Offset;
    float m_RadiusX, m_RadiusY;
    std::shared_ptr<GradientStopCollection> m_Stops;
};

Result CreateGradientStopCollection(const GradientStop* stops, uint32_t count, int extendMode,
                                    std::shared_ptr<GradientStopCollection>* out);

}  // namespace Gfx
