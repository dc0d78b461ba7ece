#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "GfxTestSupport.h"

using namespace Gfx;
using namespace GfxTest;

namespace {

std::shared_ptr<GradientStopCollection> Stops(std::vector<GradientStop> stops, int extend = 0) {
    std::shared_ptr<GradientStopCollection> c;
    EXPECT_EQ(
        CreateGradientStopCollection(stops.data(), static_cast<uint32_t>(stops.size()), extend, &c),
        kOk);
    return c;
}

std::shared_ptr<GradientStopCollection> BlackToWhite(int extend = 0) {
    return Stops({{0, {0, 0, 0, 1}}, {1, {1, 1, 1, 1}}}, extend);
}

// Grey level of a pixel of a black-to-white gradient over the whole canvas.
int Grey(RenderTarget& t, int x, int y) {
    return At(t, x, y).g;
}

int Expected(double fraction) {
    return static_cast<int>(std::lround(255 * fraction));
}

std::shared_ptr<RenderTarget> Painted(const Brush& brush) {
    auto t = WhiteCanvas();
    t->FillGeometry(*Rect(0, 0, 100, 100), brush);
    return t;
}

}  // namespace

TEST(LinearGradient, InterpolatesAlongTheAxisAndHonoursExtendModes) {
    auto t = Painted(LinearGradientBrush({0, 0}, {100, 0}, BlackToWhite(), {}));
    EXPECT_NEAR(Grey(*t, 50, 5), Expected(50.5 / 100), 2);
    EXPECT_NEAR(Grey(*t, 10, 90), Expected(10.5 / 100), 2);

    // The axis ends at 40; pixel 60 samples t = 1.5125.
    const double t60 = 60.5 / 40;
    struct Case {
        int mode;
        double expected;
    };
    for (const Case& c : {Case{0, 1.0}, Case{1, t60 - 1}, Case{2, 2 - t60}}) {
        auto p = Painted(LinearGradientBrush({0, 0}, {40, 0}, BlackToWhite(c.mode), {}));
        EXPECT_NEAR(Grey(*p, 60, 50), Expected(c.expected), 2) << c.mode;
    }
}

TEST(RadialGradient, IsEllipticalWithAFocalOffset) {
    auto t = Painted(RadialGradientBrush({50, 50}, {0, 0}, 40, 20, BlackToWhite(), {}));
    EXPECT_NEAR(Grey(*t, 70, 50), Expected(20.5 / 40), 2);  // half the x radius
    EXPECT_NEAR(Grey(*t, 50, 60), Expected(10.5 / 20), 2);  // half the y radius
    EXPECT_EQ(Grey(*t, 95, 50), 255);

    // Focus 20 right of the centre: black there, and the far side still reaches the rim.
    auto f = Painted(RadialGradientBrush({50, 50}, {20, 0}, 40, 40, BlackToWhite(), {}));
    EXPECT_LT(Grey(*f, 70, 50), 10);
    EXPECT_NEAR(Grey(*f, 30, 50), Expected(39.5 / 60), 3);
}

TEST(Gradient, StopsKeepDocumentOrderAndZeroStopsPaintNothing) {
    auto swapped = Stops({{0.8f, {1, 1, 1, 1}}, {0.2f, {0, 0, 0, 1}}});
    auto t = Painted(LinearGradientBrush({0, 0}, {100, 0}, swapped, {}));
    EXPECT_EQ(Grey(*t, 5, 5), 0);
    EXPECT_EQ(Grey(*t, 95, 5), 255);
    EXPECT_NEAR(Grey(*t, 50, 5), Expected((50.5 - 20) / 60), 2);

    auto none = Painted(LinearGradientBrush({0, 0}, {100, 0}, Stops({}), {}));
    EXPECT_EQ(CountNonWhite(*none), 0);

    std::shared_ptr<GradientStopCollection> c;
    GradientStop stop{0, {0, 0, 0, 1}};
    EXPECT_EQ(CreateGradientStopCollection(&stop, 1, 3, &c), kInvalidArg);
    EXPECT_EQ(CreateGradientStopCollection(&stop, 1, -1, &c), kInvalidArg);
}

TEST(Brush, OpacityMultipliesAlphaForSolidsAndGradients) {
    BrushProperties half;
    half.opacity = 0.5f;
    auto solid = Painted(SolidColorBrush({0, 0, 0, 0.5f}, half));
    EXPECT_NEAR(Grey(*solid, 50, 50), 191, 1);  // a quarter of black over white

    auto black = Stops({{0, {0, 0, 0, 1}}, {1, {0, 0, 0, 1}}});
    LinearGradientBrush gradient({0, 0}, {100, 0}, black, half);
    auto g = Painted(gradient);
    EXPECT_NEAR(Grey(*g, 50, 50), 128, 1);
    gradient.SetOpacity(1);  // a changed opacity rebuilds the pattern
    g->FillGeometry(*Rect(0, 0, 10, 10), gradient);
    EXPECT_EQ(Grey(*g, 5, 5), 0);
}

TEST(Brush, OwnTransformAppliesBeforeTheTargetTransform) {
    LinearGradientBrush brush({0, 0}, {100, 0}, BlackToWhite(), {});
    brush.SetTransform(Matrix3x2::Translation(50, 0));
    auto t = Painted(brush);
    EXPECT_EQ(Grey(*t, 49, 5), 0);
    EXPECT_NEAR(Grey(*t, 75, 5), Expected(25.5 / 100), 2);

    // Target scale by 2 after a brush shift of 10: the axis starts at pixel 20.
    auto s = WhiteCanvas();
    brush.SetTransform(Matrix3x2::Translation(10, 0));
    s->SetTransform(Matrix3x2::Scale(2, 2));
    s->FillGeometry(*Rect(0, 0, 50, 50), brush);
    EXPECT_EQ(Grey(*s, 19, 5), 0);
    EXPECT_NEAR(Grey(*s, 60, 5), Expected((60.5 / 2 - 10) / 100), 2);
}

TEST(Brush, NonFiniteParametersAreNotPaintable) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    EXPECT_TRUE(SolidColorBrush({1, 0, 0, 1}, {}).IsPaintable());
    EXPECT_FALSE(SolidColorBrush({1, nan, 0, 1}, {}).IsPaintable());
    EXPECT_FALSE(LinearGradientBrush({0, nan}, {1, 1}, BlackToWhite(), {}).IsPaintable());
    EXPECT_FALSE(RadialGradientBrush({0, 0}, {0, 0}, nan, 1, BlackToWhite(), {}).IsPaintable());
    EXPECT_FALSE(
        LinearGradientBrush({0, 0}, {1, 1}, Stops({{nan, {0, 0, 0, 1}}}), {}).IsPaintable());
    LinearGradientBrush flat({0, 0}, {1, 1}, BlackToWhite(), {});
    flat.SetTransform(Matrix3x2::Scale(0, 1));
    EXPECT_FALSE(flat.IsPaintable());

    // A zero radius is finite: it shows the outer stop and leaves Cairo usable.
    auto t = Painted(RadialGradientBrush({50, 50}, {0, 0}, 0, 20, BlackToWhite(), {}));
    EXPECT_EQ(Grey(*t, 50, 50), 255);
    t->FillGeometry(*Rect(0, 0, 10, 10), *Solid(0, 0, 0));
    EXPECT_EQ(Grey(*t, 5, 5), 0);
}

// Stops outside 0..1 shape the colours inside it: black at -1 and white at 1 are half grey
// at 0 and three quarters at 0.5. Outside 0..1 the extend mode works on the 0..1 part.
TEST(GradientStops, PositionsOutsideTheUnitRangeAreHonoured) {
    auto stops = [](int extend) { return Stops({{-1, {0, 0, 0, 1}}, {1, {1, 1, 1, 1}}}, extend); };
    auto linear = Painted(LinearGradientBrush({0, 0}, {100, 0}, stops(0), {}));
    EXPECT_NEAR(Grey(*linear, 50, 50), Expected((1 + 50.5 / 100) / 2), 2);
    EXPECT_NEAR(Grey(*linear, 0, 50), Expected(0.5), 2);
    // Clamped before the start: the colour at 0, not the stop at -1.
    auto padded = Painted(LinearGradientBrush({50, 0}, {100, 0}, stops(0), {}));
    EXPECT_NEAR(Grey(*padded, 10, 50), Expected(0.5), 2);
    // Wrapped: 0..1 again from grey.
    auto wrapped = Painted(LinearGradientBrush({0, 0}, {40, 0}, stops(1), {}));
    EXPECT_NEAR(Grey(*wrapped, 60, 50), Expected((1 + (60.5 / 40 - 1)) / 2), 2);

    // Radial: half way out is three quarters white; beyond 1 the stop at 2 shapes the rim.
    auto radial = Painted(RadialGradientBrush({50, 50}, {0, 0}, 40, 40, stops(0), {}));
    EXPECT_NEAR(Grey(*radial, 70, 50), Expected((1 + 20.5 / 40) / 2), 3);
    auto beyond = Painted(RadialGradientBrush({50, 50}, {0, 0}, 40, 40,
                                              Stops({{0, {0, 0, 0, 1}}, {2, {1, 1, 1, 1}}}), {}));
    EXPECT_NEAR(Grey(*beyond, 70, 50), Expected(20.5 / 40 / 2), 3);
    EXPECT_NEAR(Grey(*beyond, 95, 50), Expected(0.5), 2);  // clamped at the colour at 1
}
