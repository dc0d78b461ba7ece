#pragma once
#include <vector>

#include "Gfx/Raster/DrawOp.h"

namespace Gfx {

// One straight edge of an outline in device pixels, never horizontal.
struct Edge {
    float x0, y0, x1, y1;
};

// The edges of one outline, clipped to the pixels coverage is wanted for. Only what can
// change a pixel inside the clip is kept: parts above, below and right of it go, and parts
// left of it are pressed onto its left side, where they still carry their winding into
// every pixel to their right. So coordinates stay small and exact however far away the
// outline reaches.
class EdgeList {
  public:
    void Reset(const PixelRect& clip);
    const PixelRect& Clip() const { return m_Clip; }

    // Device pixels, double precision so that far coordinates clip exactly.
    void Line(double x0, double y0, double x1, double y1) {
        // The usual case, wholly inside, without a call.
        if (x0 >= m_Clip.left && x1 >= m_Clip.left && x0 <= m_Clip.right && x1 <= m_Clip.right &&
            y0 >= m_Clip.top && y1 >= m_Clip.top && y0 <= m_Clip.bottom && y1 <= m_Clip.bottom) {
            if (y0 != y1)
                Keep(x0, y0, x1, y1);
            return;
        }
        Clipped(x0, y0, x1, y1);
    }

    const std::vector<Edge>& Edges() const { return m_Edges; }
    bool Empty() const { return m_Edges.empty(); }
    // Bounds of the kept edges (left <= right when not empty).
    float Left() const { return m_Left; }
    float Right() const { return m_Right; }
    float Top() const { return m_Top; }
    float Bottom() const { return m_Bottom; }
    // Some part lay right of the clip and was left out, so coverage may run on to the
    // clip's right side past the last edge.
    bool ClippedRight() const { return m_ClippedRight; }

  private:
    void Clipped(double x0, double y0, double x1, double y1);
    void Keep(double x0, double y0, double x1, double y1) {
        const Edge e{static_cast<float>(x0), static_cast<float>(y0), static_cast<float>(x1),
                     static_cast<float>(y1)};
        if (e.y0 == e.y1)
            return;
        m_Edges.push_back(e);
        if (e.x0 < m_Left)
            m_Left = e.x0;
        if (e.x1 < m_Left)
            m_Left = e.x1;
        if (e.x0 > m_Right)
            m_Right = e.x0;
        if (e.x1 > m_Right)
            m_Right = e.x1;
        if (e.y0 < m_Top)
            m_Top = e.y0;
        if (e.y1 < m_Top)
            m_Top = e.y1;
        if (e.y0 > m_Bottom)
            m_Bottom = e.y0;
        if (e.y1 > m_Bottom)
            m_Bottom = e.y1;
    }

    PixelRect m_Clip;
    std::vector<Edge> m_Edges;
    float m_Left = 0, m_Right = 0, m_Top = 0, m_Bottom = 0;
    bool m_ClippedRight = false;
};

}  // namespace Gfx
