#pragma once
#include "Core/Composites.h"
#include "Gfx/Geometry.h"

namespace ZEL {

class ISegment {
  public:
    virtual ~ISegment() = default;
    virtual void AddToSink(Gfx::GeometrySink* sink) const = 0;
};

class Line : public ISegment {
  public:
    explicit Line(Point to) : m_To(to) {}
    void AddToSink(Gfx::GeometrySink* sink) const override { sink->AddLine(m_To.Get()); }

  private:
    Point m_To;
};

// A cubic Bézier from the current point: control points p1, p2, end point p3.
class Bezier : public ISegment {
  public:
    Bezier(Point p1, Point p2, Point p3) : m_P1(p1), m_P2(p2), m_P3(p3) {}
    void AddToSink(Gfx::GeometrySink* sink) const override {
        // Read from the end point back, the order bound variables have always been read in.
        const Gfx::Point2F p3 = m_P3.Get();
        const Gfx::Point2F p2 = m_P2.Get();
        const Gfx::Point2F p1 = m_P1.Get();
        sink->AddBezier(p1, p2, p3);
    }

  private:
    Point m_P1, m_P2, m_P3;
};

}  // namespace ZEL
