#include "Core/Path.h"

#include "Core/CheckResult.h"

namespace ZEL {

void Figure::AddToSink(Gfx::GeometrySink* sink) const {
    sink->BeginFigure(m_StartPoint.Get(), Gfx::FigureBegin::Filled);
    for (const auto& segment : m_Segments) {
        segment->AddToSink(sink);
    }
    sink->EndFigure(m_Closed ? Gfx::FigureEnd::Closed : Gfx::FigureEnd::Open);
}

std::shared_ptr<Gfx::Geometry> Path::CreateResource() {
    Gfx::PathBuilder builder;
    builder.SetFillMode(Gfx::FillMode::Winding);
    for (const auto& figure : m_Figures) {
        figure->AddToSink(&builder);
    }
    CheckResult(builder.Close());
    return builder.GetGeometry();
}

}  // namespace ZEL
