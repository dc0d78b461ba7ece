#include "Gfx/Matrix.h"

#include <cmath>

namespace Gfx {

namespace {
constexpr double kPi = 3.14159265358979323846;

double Determinant(const Matrix3x2& m) {
    return static_cast<double>(m.m11) * m.m22 - static_cast<double>(m.m12) * m.m21;
}
}  // namespace

Matrix3x2 Matrix3x2::Rotation(float degrees, float cx, float cy) {
    const double radians = degrees * kPi / 180.0;
    float c = static_cast<float>(std::cos(radians));
    float s = static_cast<float>(std::sin(radians));
    // Quarter turns exactly, so aliased edges stay on whole pixels.
    if (std::isfinite(degrees) && std::fmod(degrees, 90.0f) == 0) {
        c = std::round(c);
        s = std::round(s);
    }
    // Rotate about the origin, then move the origin so (cx, cy) stays put.
    return {c, s, -s, c, cx - cx * c + cy * s, cy - cx * s - cy * c};
}

bool Matrix3x2::IsFinite() const {
    return std::isfinite(m11) && std::isfinite(m12) && std::isfinite(m21) && std::isfinite(m22) &&
           std::isfinite(dx) && std::isfinite(dy);
}

bool Matrix3x2::IsSingular() const {
    const double det = Determinant(*this);
    return det == 0 || !std::isfinite(det);
}

Matrix3x2 Multiply(const Matrix3x2& a, const Matrix3x2& b) {
    Matrix3x2 r;
    r.m11 = a.m11 * b.m11 + a.m12 * b.m21;
    r.m12 = a.m11 * b.m12 + a.m12 * b.m22;
    r.m21 = a.m21 * b.m11 + a.m22 * b.m21;
    r.m22 = a.m21 * b.m12 + a.m22 * b.m22;
    r.dx = a.dx * b.m11 + a.dy * b.m21 + b.dx;
    r.dy = a.dx * b.m12 + a.dy * b.m22 + b.dy;
    return r;
}

bool Invert(Matrix3x2& m) {
    const double det = Determinant(m);
    if (det == 0 || !std::isfinite(det) || !m.IsFinite())
        return false;
    const double inv = 1.0 / det;
    Matrix3x2 r;
    r.m11 = static_cast<float>(m.m22 * inv);
    r.m12 = static_cast<float>(-m.m12 * inv);
    r.m21 = static_cast<float>(-m.m21 * inv);
    r.m22 = static_cast<float>(m.m11 * inv);
    r.dx = static_cast<float>(
        (static_cast<double>(m.m21) * m.dy - static_cast<double>(m.m22) * m.dx) * inv);
    r.dy = static_cast<float>(
        (static_cast<double>(m.m12) * m.dx - static_cast<double>(m.m11) * m.dy) * inv);
    if (!r.IsFinite())
        return false;
    m = r;
    return true;
}

bool operator==(const Matrix3x2& a, const Matrix3x2& b) {
    return a.m11 == b.m11 && a.m12 == b.m12 && a.m21 == b.m21 && a.m22 == b.m22 && a.dx == b.dx &&
           a.dy == b.dy;
}

}  // namespace Gfx
