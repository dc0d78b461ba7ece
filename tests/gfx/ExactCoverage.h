#pragma once
// Exact area coverage of pixels by polygons, worked out by clipping each polygon to the
// pixel's square: the reference smoothed edges are held to, independent of any scan
// converter.
#include <algorithm>
#include <cmath>
#include <vector>

#include "Gfx/Geometry.h"

namespace GfxTest {

using Polygon = std::vector<Gfx::Point2F>;

// Share of pixel (px, py) inside a simple polygon, 0..1.
inline double PixelCoverage(const Polygon& polygon, int px, int py) {
    std::vector<std::pair<double, double>> poly;
    for (const Gfx::Point2F& p : polygon) poly.emplace_back(p.x, p.y);
    // Sutherland-Hodgman against the four sides of the pixel.
    const auto clip = [&poly](auto inside, auto cross) {
        std::vector<std::pair<double, double>> out;
        for (size_t i = 0; i < poly.size(); ++i) {
            const auto& a = poly[i];
            const auto& b = poly[(i + 1) % poly.size()];
            const bool ia = inside(a), ib = inside(b);
            if (ia)
                out.push_back(a);
            if (ia != ib)
                out.push_back(cross(a, b));
        }
        poly = std::move(out);
    };
    const auto onX = [](double x) {
        return [x](std::pair<double, double> a, std::pair<double, double> b) {
            return std::make_pair(x, a.second + (x - a.first) * (b.second - a.second) /
                                                     (b.first - a.first));
        };
    };
    const auto onY = [](double y) {
        return [y](std::pair<double, double> a, std::pair<double, double> b) {
            return std::make_pair(a.first + (y - a.second) * (b.first - a.first) /
                                                (b.second - a.second),
                                  y);
        };
    };
    clip([px](auto p) { return p.first >= px; }, onX(px));
    clip([px](auto p) { return p.first <= px + 1; }, onX(px + 1));
    clip([py](auto p) { return p.second >= py; }, onY(py));
    clip([py](auto p) { return p.second <= py + 1; }, onY(py + 1));
    double area = 0;
    for (size_t i = 0; i < poly.size(); ++i) {
        const auto& a = poly[i];
        const auto& b = poly[(i + 1) % poly.size()];
        area += a.first * b.second - b.first * a.second;
    }
    return std::fabs(area) / 2;
}

inline Polygon EllipsePolygon(double cx, double cy, double rx, double ry, int sides = 4000) {
    Polygon p;
    for (int i = 0; i < sides; ++i) {
        const double a = 2 * M_PI * i / sides;
        p.push_back({static_cast<float>(cx + rx * std::cos(a)),
                     static_cast<float>(cy + ry * std::sin(a))});
    }
    return p;
}

inline std::shared_ptr<Gfx::Geometry> PolygonGeometry(const Polygon& p,
                                                      Gfx::FillMode mode = Gfx::FillMode::Winding) {
    Gfx::PathBuilder b;
    b.SetFillMode(mode);
    b.BeginFigure(p[0], Gfx::FigureBegin::Filled);
    for (size_t i = 1; i < p.size(); ++i) b.AddLine(p[i]);
    b.EndFigure(Gfx::FigureEnd::Closed);
    b.Close();
    return b.GetGeometry();
}

}  // namespace GfxTest
