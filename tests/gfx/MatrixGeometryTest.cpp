#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "GfxTestSupport.h"

using namespace Gfx;
using GfxTest::Ellipse;
using GfxTest::Rect;

namespace {

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();

void ExpectPoint(Point2F p, float x, float y) {
    EXPECT_NEAR(p.x, x, 1e-4);
    EXPECT_NEAR(p.y, y, 1e-4);
}

void ExpectRect(const RectF& r, float l, float t, float rt, float b, float tol = 1e-3f) {
    EXPECT_NEAR(r.left, l, tol);
    EXPECT_NEAR(r.top, t, tol);
    EXPECT_NEAR(r.right, rt, tol);
    EXPECT_NEAR(r.bottom, b, tol);
}

bool Contains(const Geometry& g, float x, float y, const Matrix3x2* t = nullptr) {
    bool inside = false;
    EXPECT_EQ(g.FillContainsPoint({x, y}, t, 0.25f, &inside), kOk);
    return inside;
}

std::shared_ptr<Geometry> TwoOverlappingSquares(FillMode mode) {
    PathBuilder b;
    b.SetFillMode(mode);
    for (float offset : {0.0f, 10.0f}) {
        b.BeginFigure({offset, 0}, FigureBegin::Filled);
        b.AddLine({offset + 20, 0});
        b.AddLine({offset + 20, 20});
        b.AddLine({offset, 20});
        b.EndFigure(FigureEnd::Closed);
    }
    EXPECT_EQ(b.Close(), kOk);
    return b.GetGeometry();
}

}  // namespace

TEST(Matrix, MultiplyAppliesFirstOperandFirst) {
    const Matrix3x2 t = Matrix3x2::Translation(10, 0), s = Matrix3x2::Scale(2, 3);
    ExpectPoint(Multiply(t, s).Apply({1, 1}), 22, 3);
    ExpectPoint(Multiply(s, t).Apply({1, 1}), 12, 3);
}

TEST(Matrix, RotationTurnsClockwiseAboutItsCentre) {
    const Matrix3x2 r = Matrix3x2::Rotation(90, 50, 50);
    ExpectPoint(r.Apply({60, 50}), 50, 60);
    ExpectPoint(r.Apply({50, 50}), 50, 50);
    ExpectPoint(Matrix3x2::Rotation(30).Apply({1, 0}), std::cos(0.5235988f), std::sin(0.5235988f));
}

TEST(Matrix, InvertRoundTripsAndRefusesSingular) {
    Matrix3x2 m = Multiply(Matrix3x2::Rotation(33, 4, 5), Matrix3x2::Scale(2, 0.5f));
    Matrix3x2 inverse = m;
    ASSERT_TRUE(Invert(inverse));
    ExpectPoint(inverse.Apply(m.Apply({7, -3})), 7, -3);

    Matrix3x2 singular = Matrix3x2::Scale(0, 1);
    singular.dx = 5;
    const Matrix3x2 before = singular;
    EXPECT_TRUE(singular.IsSingular());
    EXPECT_FALSE(Invert(singular));
    EXPECT_TRUE(singular == before);

    Matrix3x2 nan{1, 0, 0, kNaN, 0, 0};
    EXPECT_FALSE(nan.IsFinite());
    EXPECT_TRUE(nan.IsSingular());
    EXPECT_FALSE(Invert(nan));
}

TEST(GeometryBounds, AreTightAroundCurvesAndEmptyIsInverted) {
    PathBuilder b;
    b.BeginFigure({0, 0}, FigureBegin::Filled);
    b.AddBezier({0, 100}, {100, 100}, {100, 0});
    b.EndFigure(FigureEnd::Closed);
    ASSERT_EQ(b.Close(), kOk);
    RectF r;
    ASSERT_EQ(b.GetGeometry()->GetBounds(nullptr, &r), kOk);
    ExpectRect(r, 0, 0, 100, 75);  // the curve peaks at 3/4 of its control height

    // A circle turned 45 degrees keeps its radius, unlike its control polygon.
    const Matrix3x2 turn = Matrix3x2::Rotation(45, 0, 0);
    ASSERT_EQ(Ellipse(0, 0, 10, 10)->GetBounds(&turn, &r), kOk);
    ExpectRect(r, -10, -10, 10, 10, 0.01f);

    Geometry empty{PathData{}};
    ASSERT_EQ(empty.GetBounds(nullptr, &r), kOk);
    EXPECT_LT(r.right, r.left);
    EXPECT_EQ(r.left, kInf);
    EXPECT_EQ(r.bottom, -kInf);
}

TEST(GeometryBounds, WidenedUseFlatCapsAndMiterJoins) {
    RectF r;
    ASSERT_EQ(Rect(10, 10, 20, 20)->GetWidenedBounds(4, nullptr, 0.25f, &r), kOk);
    ExpectRect(r, 8, 8, 22, 22);

    PathBuilder b;
    b.BeginFigure({0, 0}, FigureBegin::Filled);
    b.AddLine({10, 0});
    b.EndFigure(FigureEnd::Open);
    ASSERT_EQ(b.Close(), kOk);
    ASSERT_EQ(b.GetGeometry()->GetWidenedBounds(2, nullptr, 0.25f, &r), kOk);
    ExpectRect(r, 0, -1, 10, 1);  // flat caps add nothing at the ends

    const Matrix3x2 twice = Matrix3x2::Scale(2, 2);
    ASSERT_EQ(Rect(10, 10, 20, 20)->GetWidenedBounds(4, &twice, 0.25f, &r), kOk);
    ExpectRect(r, 16, 16, 44, 44);

    EXPECT_EQ(Rect(0, 0, 1, 1)->GetWidenedBounds(kNaN, nullptr, 0.25f, &r), kInvalidArg);
}

TEST(GeometryHitTest, HonoursFillModeAndTransform) {
    auto winding = TwoOverlappingSquares(FillMode::Winding);
    auto alternate = TwoOverlappingSquares(FillMode::Alternate);
    EXPECT_TRUE(Contains(*winding, 15, 10));
    EXPECT_FALSE(Contains(*alternate, 15, 10));
    EXPECT_TRUE(Contains(*alternate, 5, 10));
    EXPECT_FALSE(Contains(*winding, 35, 10));

    const Matrix3x2 moved = Matrix3x2::Translation(100, 0);
    EXPECT_TRUE(Contains(*winding, 105, 10, &moved));
    EXPECT_FALSE(Contains(*winding, 5, 10, &moved));

    auto circle = Ellipse(50, 50, 10, 10);
    EXPECT_TRUE(Contains(*circle, 57, 57));   // 9.9 from the centre
    EXPECT_FALSE(Contains(*circle, 58, 58));  // 11.3 from the centre
}

TEST(PathBuilder, ReportsOutOfOrderUseAtClose) {
    {
        PathBuilder b;
        b.AddLine({1, 1});
        EXPECT_EQ(b.Close(), kWrongState);
        EXPECT_FALSE(b.GetGeometry());
    }
    {
        PathBuilder b;
        b.BeginFigure({0, 0}, FigureBegin::Filled);
        b.BeginFigure({1, 0}, FigureBegin::Filled);
        EXPECT_EQ(b.Close(), kWrongState);
        EXPECT_FALSE(b.GetGeometry());
    }
    {
        PathBuilder b;
        b.BeginFigure({0, 0}, FigureBegin::Filled);  // never ended
        EXPECT_EQ(b.Close(), kWrongState);
    }
    {
        PathBuilder b;
        b.BeginFigure({0, 0}, FigureBegin::Filled);
        b.EndFigure(FigureEnd::Open);  // a figure without segments is fine
        b.BeginFigure({0, 0}, FigureBegin::Filled);
        b.AddLine({4, 0});
        b.EndFigure(FigureEnd::Closed);
        EXPECT_EQ(b.Close(), kOk);
        ASSERT_TRUE(b.GetGeometry());
        EXPECT_EQ(b.Close(), kWrongState);
        const auto& figures = b.GetGeometry()->Data().figures;
        ASSERT_EQ(figures.size(), 2u);
        EXPECT_FALSE(figures[0].closed);
        EXPECT_TRUE(figures[1].closed);
    }
}

TEST(GeometryFactory, RectanglesEllipsesAndTransformedCopies) {
    auto rect = Rect(30, 10, 20, 40);  // right of left stays as given
    ASSERT_EQ(rect->Data().figures.size(), 1u);
    EXPECT_TRUE(rect->Data().figures[0].closed);
    EXPECT_EQ(rect->Data().figures[0].segments.size(), 4u);
    EXPECT_TRUE(Contains(*rect, 25, 20));

    auto ellipse = Ellipse(50, 50, 20, 10);
    for (const auto& s : ellipse->Data().figures[0].segments)
        EXPECT_EQ(s.kind, PathFigure::Kind::Bezier);
    RectF r;
    ellipse->GetBounds(nullptr, &r);
    ExpectRect(r, 30, 40, 70, 60);

    std::shared_ptr<Geometry> moved;
    ASSERT_EQ(CreateTransformedGeometry(*ellipse, Matrix3x2::Translation(5, -5), &moved), kOk);
    moved->GetBounds(nullptr, &r);
    ExpectRect(r, 35, 35, 75, 55);
}

TEST(GeometryFlatten, StaysWithinTolerance) {
    const float radius = 100, tolerance = 0.25f;
    const auto lines = Ellipse(0, 0, radius, radius)->Flatten(tolerance);
    ASSERT_EQ(lines.size(), 1u);
    ASSERT_GT(lines[0].size(), 8u);
    for (size_t i = 0; i + 1 < lines[0].size(); ++i) {
        const Point2F a = lines[0][i], b = lines[0][i + 1];
        const float mid = std::hypot((a.x + b.x) / 2, (a.y + b.y) / 2);
        EXPECT_GT(mid, radius - tolerance - 0.05f);  // the quartic Bézier itself errs ~0.03
        EXPECT_NEAR(std::hypot(a.x, a.y), radius, 0.05f);
    }
}

TEST(GeometryDrawable, RejectsNonFiniteAndHugeCoordinates) {
    EXPECT_TRUE(Rect(0, 0, 1e7f, 1)->IsDrawable());
    EXPECT_FALSE(Rect(0, 0, kNaN, 1)->IsDrawable());
    EXPECT_FALSE(Rect(0, 0, kInf, 1)->IsDrawable());
    EXPECT_FALSE(Rect(-1e30f, 0, 1, 1)->IsDrawable());
    EXPECT_FALSE(Ellipse(0, 0, kNaN, 1)->IsDrawable());
    RectF r;
    ASSERT_EQ(Rect(0, 0, kNaN, 1)->GetBounds(nullptr, &r), kOk);
    EXPECT_LT(r.right, r.left);
    EXPECT_FALSE(Contains(*Rect(0, 0, kNaN, 10), 0.5f, 0.5f));
}
