#include "Gfx/Geometry.h"
#include "Gfx/PathMath.h"

namespace Gfx {

void PathBuilder::SetFillMode(FillMode mode) {
    if (m_Closed)
        return;
    m_Data.fillMode = mode;
}

void PathBuilder::BeginFigure(Point2F start, FigureBegin begin) {
    if (m_Closed)
        return;
    if (m_InFigure) {
        m_Broken = true;
        return;
    }
    m_InFigure = true;
    PathFigure figure;
    figure.start = start;
    figure.filled = begin == FigureBegin::Filled;
    m_Data.figures.push_back(std::move(figure));
}

void PathBuilder::AddLine(Point2F to) {
    if (m_Closed)
        return;
    if (!m_InFigure) {
        m_Broken = true;
        return;
    }
    m_Data.figures.back().segments.push_back({PathFigure::Kind::Line, {}, {}, to});
}

void PathBuilder::AddBezier(Point2F p1, Point2F p2, Point2F p3) {
    if (m_Closed)
        return;
    if (!m_InFigure) {
        m_Broken = true;
        return;
    }
    m_Data.figures.back().segments.push_back({PathFigure::Kind::Bezier, p1, p2, p3});
}

void PathBuilder::EndFigure(FigureEnd end) {
    if (m_Closed)
        return;
    if (!m_InFigure) {
        m_Broken = true;
        return;
    }
    m_Data.figures.back().closed = end == FigureEnd::Closed;
    m_InFigure = false;
}

void PathBuilder::BeginGlyph(Point2F origin) {
    if (m_Closed || m_InFigure)
        return;
    GlyphOutline glyph;
    glyph.origin = origin;
    glyph.firstFigure = static_cast<uint32_t>(m_Data.figures.size());
    m_Glyphs.push_back(glyph);
}

Result PathBuilder::Close() {
    // A second Close fails but keeps the geometry the first one produced.
    if (m_Closed)
        return kWrongState;
    m_Closed = true;
    if (m_Broken || m_InFigure)
        return kWrongState;
    try {
        m_Data.glyphs = MakeGlyphTable(m_Data, std::move(m_Glyphs));
        m_Result = std::make_shared<Geometry>(std::move(m_Data));
    } catch (const std::bad_alloc&) {
        return kOutOfMemory;
    }
    return kOk;
}

}  // namespace Gfx
