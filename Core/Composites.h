#pragma once
#include "Core/ValueD.h"
#include "Gfx/Types.h"

namespace ZEL {

// Channels red, green, blue, alpha; read in that order, never clamped.
class Color {
  public:
    Color() = default;
    Color(ValueD r, ValueD g, ValueD b, ValueD a) : m_R(r), m_G(g), m_B(b), m_A(a) {}
    virtual ~Color() = default;
    Gfx::ColorF Get() const {
        Gfx::ColorF c;
        c.r = m_R.Get();
        c.g = m_G.Get();
        c.b = m_B.Get();
        c.a = m_A.Get();
        return c;
    }

  private:
    ValueD m_R, m_G, m_B, m_A;
};

struct Point {
    ValueD x, y;
    Gfx::Point2F Get() const {
        Gfx::Point2F p;
        p.x = x.Get();
        p.y = y.Get();
        return p;
    }
};

// Edges left, top, right, bottom; not normalised.
struct Rect {
    ValueD left, top, right, bottom;
    Gfx::RectF Get() const {
        Gfx::RectF r;
        r.left = left.Get();
        r.top = top.Get();
        r.right = right.Get();
        r.bottom = bottom.Get();
        return r;
    }
};

}  // namespace ZEL
