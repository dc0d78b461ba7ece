#include "Gfx/Brush.h"

#include <cmath>

#include "Gfx/CairoNative.h"

namespace Gfx {

namespace {

bool Finite(ColorF c) {
    return std::isfinite(c.r) && std::isfinite(c.g) && std::isfinite(c.b) && std::isfinite(c.a);
}

// Gradient geometry obeys the same bound as path coordinates: beyond it Cairo's fixed-point
// pattern maths breaks the whole surface.
constexpr float kMaxCoordinate = 1e7f;

bool Bounded(float v) {
    return std::isfinite(v) && std::fabs(v) <= kMaxCoordinate;
}

bool Finite(Point2F p) {
    return Bounded(p.x) && Bounded(p.y);
}

bool StopsFinite(const std::shared_ptr<GradientStopCollection>& stops) {
    if (!stops)
        return true;
    for (const GradientStop& s : stops->Stops())
        if (!std::isfinite(s.position) || !Finite(s.color))
            return false;
    return true;
}

bool PropsUsable(const Brush& brush) {
    const Matrix3x2& t = brush.GetTransform();
    return std::isfinite(brush.GetOpacity()) && t.IsFinite() && !t.IsSingular();
}

}  // namespace

Brush::Brush(const BrushProperties& props) : m_Props(props), m_Native(new Native) {
    cairo_matrix_init_identity(&m_Native->base);
}

Brush::~Brush() = default;

SolidColorBrush::SolidColorBrush(ColorF color, const BrushProperties& props)
    : Brush(props), m_Color(color) {
    m_Native->kind = Native::Kind::Solid;
    m_Native->color = color;
}

bool SolidColorBrush::IsPaintable() const {
    return Finite(m_Color) && std::isfinite(GetOpacity());
}

LinearGradientBrush::LinearGradientBrush(Point2F start, Point2F end,
                                         std::shared_ptr<GradientStopCollection> stops,
                                         const BrushProperties& props)
    : Brush(props), m_Start(start), m_End(end), m_Stops(std::move(stops)) {
    m_Native->kind = Native::Kind::Linear;
    m_Native->x0 = start.x;
    m_Native->y0 = start.y;
    m_Native->x1 = end.x;
    m_Native->y1 = end.y;
    m_Native->stops = m_Stops;
}

bool LinearGradientBrush::IsPaintable() const {
    return PropsUsable(*this) && Finite(m_Start) && Finite(m_End) && StopsFinite(m_Stops);
}

RadialGradientBrush::RadialGradientBrush(Point2F center, Point2F originOffset, float radiusX,
                                         float radiusY,
                                         std::shared_ptr<GradientStopCollection> stops,
                                         const BrushProperties& props)
    : Brush(props),
      m_Center(center),
      m_Offset(originOffset),
      m_RadiusX(radiusX),
      m_RadiusY(radiusY),
      m_Stops(std::move(stops)) {
    m_Native->kind = Native::Kind::Radial;
    m_Native->x0 = center.x;
    m_Native->y0 = center.y;
    m_Native->x1 = originOffset.x;
    m_Native->y1 = originOffset.y;
    m_Native->rx = radiusX;
    m_Native->ry = radiusY;
    m_Native->stops = m_Stops;
    // The pattern is a unit circle; this maps the ellipse onto it.
    if (radiusX != 0 && radiusY != 0) {
        cairo_matrix_init(&m_Native->base, 1.0 / radiusX, 0, 0, 1.0 / radiusY,
                          -static_cast<double>(center.x) / radiusX,
                          -static_cast<double>(center.y) / radiusY);
    }
}

bool RadialGradientBrush::IsPaintable() const {
    return PropsUsable(*this) && Finite(m_Center) && Finite(m_Offset) && Bounded(m_RadiusX) &&
           Bounded(m_RadiusY) && StopsFinite(m_Stops);
}

}  // namespace Gfx
