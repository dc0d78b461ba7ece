#include <gtest/gtest.h>

#include <cmath>

#include "ExactCoverage.h"
#include "GfxTestSupport.h"

using namespace GfxTest;

namespace {

constexpr int kSide = 64;

std::shared_ptr<Gfx::Geometry> Polyline(const Polygon& points, bool closed) {
    Gfx::PathBuilder b;
    b.SetFillMode(Gfx::FillMode::Winding);
    b.BeginFigure(points[0], Gfx::FigureBegin::Hollow);
    for (size_t i = 1; i < points.size(); ++i) b.AddLine(points[i]);
    b.EndFigure(closed ? Gfx::FigureEnd::Closed : Gfx::FigureEnd::Open);
    b.Close();
    return b.GetGeometry();
}

// A black stroke with smoothed edges on white.
std::shared_ptr<Gfx::RenderTarget> Stroked(const Gfx::Geometry& g, float width,
                                           Gfx::Matrix3x2 transform = {}) {
    std::shared_ptr<Gfx::RenderTarget> t;
    Gfx::RenderTarget::Create(kSide, kSide, 96, &t);
    t->BeginDraw();
    t->Clear({1, 1, 1, 1});
    t->SetTransform(transform);
    t->SetAntialiasMode(Gfx::AntialiasMode::PerPrimitive);
    t->DrawGeometry(g, *Solid(0, 0, 0), width);
    t->EndDraw();
    return t;
}

int Covered(Gfx::RenderTarget& t, int x, int y) {
    return 255 - At(t, x, y).g;
}

// The largest difference from the exact coverage of the union of simple polygons that do
// not overlap.
int WorstAgainst(Gfx::RenderTarget& t, const std::vector<Polygon>& parts) {
    int worst = 0;
    for (int y = 0; y < kSide; ++y)
        for (int x = 0; x < kSide; ++x) {
            double exact = 0;
            for (const Polygon& p : parts) exact += PixelCoverage(p, x, y);
            worst = std::max(worst, std::abs(Covered(t, x, y) -
                                             static_cast<int>(std::lround(exact * 255))));
        }
    return worst;
}

}  // namespace

// A segment strokes to a rectangle with flat ends: nothing beyond its ends.
TEST(StrokeCoverage, ASegmentIsARectangleWithFlatEnds) {
    auto t = Stroked(*Polyline({{10.3f, 20.6f}, {50.1f, 31.2f}}, false), 5);
    const double dx = 50.1 - 10.3, dy = 31.2 - 20.6, len = std::sqrt(dx * dx + dy * dy);
    const double nx = -dy / len * 2.5, ny = dx / len * 2.5;
    const Polygon rect{{float(10.3 + nx), float(20.6 + ny)},
                       {float(50.1 + nx), float(31.2 + ny)},
                       {float(50.1 - nx), float(31.2 - ny)},
                       {float(10.3 - nx), float(20.6 - ny)}};
    EXPECT_LE(WorstAgainst(*t, {rect}), 1);
}

// A right-angled corner: the outer side meets in a miter, the inner side exactly where the
// two edges cross, with no pixel counted twice.
TEST(StrokeCoverage, ACornerJoinsWithAMiterAndAnExactInnerCorner) {
    auto t = Stroked(*Polyline({{10.5f, 40.25f}, {40.5f, 40.25f}, {40.5f, 10.25f}}, false), 6);
    const Polygon ell{{10.5f, 37.25f}, {37.5f, 37.25f}, {37.5f, 10.25f}, {43.5f, 10.25f},
                      {43.5f, 43.25f}, {10.5f, 43.25f}};
    EXPECT_LE(WorstAgainst(*t, {ell}), 1);
}

// Beyond the miter limit (10 widths) a join is cut off flat; within it the miter reaches out.
TEST(StrokeCoverage, TheMiterLimitTurnsSharpJoinsIntoBevels) {
    // Half-angles of 4 and 8 degrees: miters of 14.3 and 7.2 widths.
    const auto tip = [](double halfAngleDegrees) {
        const double a = halfAngleDegrees * M_PI / 180;
        const float reach = 40;
        const Polygon v{{8, static_cast<float>(32 - reach * std::tan(a))},
                        {8 + reach, 32},
                        {8, static_cast<float>(32 + reach * std::tan(a))}};
        return Stroked(*Polyline(v, false), 3);
    };
    auto cut = tip(4), mitered = tip(8);
    // The miter of the 8-degree join reaches 1.5 / sin 8 = 10.8 pixels past the corner at
    // x = 48; a bevel ends within a tenth of a pixel of it.
    EXPECT_GT(Covered(*mitered, 54, 31), 60);
    EXPECT_GT(Covered(*mitered, 54, 32), 60);
    EXPECT_EQ(Covered(*cut, 49, 31), 0);
    EXPECT_EQ(Covered(*cut, 49, 32), 0);
    EXPECT_GT(Covered(*cut, 46, 31), 200);  // the bevel still closes the corner
}

// A closed figure strokes to a ring: joins all round, the inside untouched.
TEST(StrokeCoverage, AClosedFigureIsARing) {
    auto t = Stroked(*Polyline({{12, 12}, {52, 12}, {52, 52}, {12, 52}}, true), 4);
    const std::vector<Polygon> ring{{{10, 10}, {54, 10}, {54, 14}, {10, 14}},
                                    {{10, 50}, {54, 50}, {54, 54}, {10, 54}},
                                    {{10, 14}, {14, 14}, {14, 50}, {10, 50}},
                                    {{50, 14}, {54, 14}, {54, 50}, {50, 50}}};
    EXPECT_LE(WorstAgainst(*t, ring), 1);
    EXPECT_EQ(Covered(*t, 32, 32), 0);
}

// The pen is stretched with the space: a line scaled 3 times down is 3 times as thick.
TEST(StrokeCoverage, TheWidthFollowsTheTransform) {
    auto t = Stroked(*Polyline({{10, 10}, {50, 10}}, false), 2, {1, 0, 0, 3, 0, 0.5f});
    const Polygon bar{{10, 27.5f}, {50, 27.5f}, {50, 33.5f}, {10, 33.5f}};
    EXPECT_LE(WorstAgainst(*t, {bar}), 1);
}

// A figure that never moves has no direction for its flat ends: it draws nothing.
TEST(StrokeCoverage, AFigureOfOnePointDrawsNothing) {
    auto t = Stroked(*Polyline({{20, 20}, {20, 20}, {20, 20}}, false), 8);
    EXPECT_EQ(CountNonWhite(*t), 0);
}
