#pragma once
#include "Gfx/Types.h"

namespace Gfx {

// Row-vector convention: (x, y) maps to (x*m11 + y*m21 + dx, x*m12 + y*m22 + dy).
struct Matrix3x2 {
    float m11 = 1, m12 = 0;
    float m21 = 0, m22 = 1;
    float dx = 0, dy = 0;

    static Matrix3x2 Identity() { return {}; }
    static Matrix3x2 Translation(float x, float y) { return {1, 0, 0, 1, x, y}; }
    static Matrix3x2 Scale(float x, float y) { return {x, 0, 0, y, 0, 0}; }
    // Angle in degrees about (cx, cy); positive turns clockwise in y-down space.
    static Matrix3x2 Rotation(float degrees, float cx = 0, float cy = 0);

    Point2F Apply(Point2F p) const {
        return {p.x * m11 + p.y * m21 + dx, p.x * m12 + p.y * m22 + dy};
    }
    bool IsFinite() const;
    // True when the determinant is zero or not finite: nothing can be drawn through it.
    bool IsSingular() const;
};

// The product that applies a first, then b.
Matrix3x2 Multiply(const Matrix3x2& a, const Matrix3x2& b);
// Inverts in place; returns false (and leaves m unchanged) when m is singular.
bool Invert(Matrix3x2& m);

bool operator==(const Matrix3x2& a, const Matrix3x2& b);

}  // namespace Gfx
