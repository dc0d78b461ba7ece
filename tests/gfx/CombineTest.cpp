#include <gtest/gtest.h>

#include <limits>

#include "GfxTestSupport.h"

using namespace Gfx;
using GfxTest::Ellipse;
using GfxTest::Rect;

namespace {

std::shared_ptr<Geometry> Combine(const Geometry& a, const Geometry& b, CombineMode mode,
                                  const Matrix3x2* transform = nullptr) {
    PathBuilder sink;
    EXPECT_EQ(a.CombineWithGeometry(b, mode, transform, 0.25f, &sink), kOk);
    EXPECT_EQ(sink.Close(), kOk);
    return sink.GetGeometry();
}

bool Contains(const Geometry& g, float x, float y) {
    bool inside = false;
    g.FillContainsPoint({x, y}, nullptr, 0.25f, &inside);
    return inside;
}

// A square with a square hole when filled by the alternate rule.
std::shared_ptr<Geometry> Frame(FillMode mode) {
    PathBuilder b;
    b.SetFillMode(mode);
    const float sides[2][2] = {{0, 40}, {10, 30}};
    for (const auto& s : sides) {
        b.BeginFigure({s[0], s[0]}, FigureBegin::Filled);
        b.AddLine({s[1], s[0]});
        b.AddLine({s[1], s[1]});
        b.AddLine({s[0], s[1]});
        b.EndFigure(FigureEnd::Closed);
    }
    b.Close();
    return b.GetGeometry();
}

}  // namespace

TEST(Combine, EachModeAtPointsInsideAndOutsideEachOperand) {
    auto a = Rect(0, 0, 20, 20), b = Rect(10, 0, 30, 20);
    struct Case {
        CombineMode mode;
        bool onlyA, both, onlyB;
    };
    const Case cases[] = {{CombineMode::Union, true, true, true},
                          {CombineMode::Intersect, false, true, false},
                          {CombineMode::Xor, true, false, true},
                          {CombineMode::Exclude, true, false, false}};
    for (const Case& c : cases) {
        auto result = Combine(*a, *b, c.mode);
        SCOPED_TRACE(static_cast<int>(c.mode));
        EXPECT_EQ(result->Data().fillMode, FillMode::Alternate);
        for (const auto& figure : result->Data().figures) EXPECT_TRUE(figure.closed);
        EXPECT_EQ(Contains(*result, 5, 10), c.onlyA);
        EXPECT_EQ(Contains(*result, 15, 10), c.both);
        EXPECT_EQ(Contains(*result, 25, 10), c.onlyB);
        EXPECT_FALSE(Contains(*result, 35, 10));
    }
}

TEST(Combine, UsesEachOperandsFillRuleAndTheInputTransform) {
    auto far = Rect(100, 100, 110, 110);
    EXPECT_FALSE(Contains(*Combine(*Frame(FillMode::Alternate), *far, CombineMode::Union), 20, 20));
    EXPECT_TRUE(Contains(*Combine(*Frame(FillMode::Winding), *far, CombineMode::Union), 20, 20));
    EXPECT_TRUE(Contains(*Combine(*Frame(FillMode::Alternate), *far, CombineMode::Union), 5, 5));

    const Matrix3x2 back = Matrix3x2::Translation(-100, -100);
    auto overlap = Combine(*Rect(0, 0, 5, 5), *far, CombineMode::Intersect, &back);
    EXPECT_TRUE(Contains(*overlap, 2, 2));
    EXPECT_FALSE(Contains(*overlap, 7, 7));
}

TEST(Combine, FlattensCurvesWithinTolerance) {
    auto half = Combine(*Ellipse(0, 0, 100, 100), *Rect(0, -200, 200, 200), CombineMode::Intersect);
    RectF r;
    half->GetBounds(nullptr, &r);
    EXPECT_NEAR(r.left, 0, 0.01);
    EXPECT_NEAR(r.right, 100, 0.3);
    EXPECT_NEAR(r.top, -100, 0.3);
    EXPECT_TRUE(Contains(*half, 99.5f, 0));
    EXPECT_FALSE(Contains(*half, -1, 0));
}

TEST(Combine, HostileOperandGivesAnEmptyResult) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    auto result = Combine(*Rect(0, 0, 10, 10), *Rect(0, 0, nan, 10), CombineMode::Union);
    EXPECT_TRUE(result->IsEmpty());
    Geometry empty{PathData{}};
    auto same = Combine(empty, *Rect(0, 0, 10, 10), CombineMode::Union);
    EXPECT_TRUE(Contains(*same, 5, 5));
    EXPECT_TRUE(Combine(empty, *Rect(0, 0, 10, 10), CombineMode::Intersect)->IsEmpty());
}
