#pragma once
#include <memory>
#include <vector>

#include "Core/GeometryBase.h"
#include "Core/Segments.h"

namespace ZEL {

class Figure {
  public:
    Figure(Point startPoint, bool closed) : m_StartPoint(startPoint), m_Closed(closed) {}
    void Append(std::shared_ptr<ISegment> segment) { m_Segments.push_back(std::move(segment)); }
    void AddToSink(Gfx::GeometrySink* sink) const;

  private:
    std::vector<std::shared_ptr<ISegment>> m_Segments;
    Point m_StartPoint;
    bool m_Closed;
};

// Figures filled with the winding rule.
class Path : public GeometryBase {
  public:
    void Append(std::shared_ptr<Figure> figure) { m_Figures.push_back(std::move(figure)); }

  protected:
    std::shared_ptr<Gfx::Geometry> CreateResource() override;

  private:
    std::vector<std::shared_ptr<Figure>> m_Figures;
};

}  // namespace ZEL
