// Stroke outlines, dashes and miter limits: the regions they cover.
#include <gtest/gtest.h>

#include <cmath>

#include "Import/Outline.h"
#include "Import/SvgSyntax.h"

using namespace Import;

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kTolerance = 0.01;

Path Parse(const std::string& d) {
    Path p;
    EXPECT_TRUE(ParsePathData(d, &p)) << d;
    return p;
}

double StrokeArea(const std::string& d, double width, LineCap cap, LineJoin join,
                  double limit = 4) {
    return FilledArea(StrokeOutline(Parse(d), width, cap, join, limit, kTolerance), false,
                      kTolerance);
}

}  // namespace

TEST(StrokeOutlineTest, CapsAddWhatEachKindPromises) {
    // A 100 long line, 20 wide: 2000 with flat caps, two half discs or two squares more.
    EXPECT_NEAR(StrokeArea("M0 0 H100", 20, LineCap::Butt, LineJoin::Miter), 2000, 2);
    EXPECT_NEAR(StrokeArea("M0 0 H100", 20, LineCap::Round, LineJoin::Miter), 2000 + kPi * 100, 3);
    EXPECT_NEAR(StrokeArea("M0 0 H100", 20, LineCap::Square, LineJoin::Miter), 2400, 2);
}

TEST(StrokeOutlineTest, JoinsFillTheCornerAsAsked) {
    // A right angle, 20 wide: the outside corner is a 10x10 square mitred, a quarter disc
    // rounded; a bevel is drawn squared, between the two.
    const double miter = StrokeArea("M0 0 H100 V100", 20, LineCap::Butt, LineJoin::Miter);
    const double round = StrokeArea("M0 0 H100 V100", 20, LineCap::Butt, LineJoin::Round);
    const double bevel = StrokeArea("M0 0 H100 V100", 20, LineCap::Butt, LineJoin::Bevel);
    EXPECT_NEAR(miter, 4000, 3);
    EXPECT_NEAR(round, 4000 - 100 + kPi * 25, 3);
    EXPECT_LT(bevel, miter);
    EXPECT_GT(bevel, 4000 - 100 + 50 - 3);
    // A closed square has no caps: its ring, 20 wide, covers 120^2 - 80^2.
    EXPECT_NEAR(StrokeArea("M0 0 H100 V100 H0 Z", 20, LineCap::Round, LineJoin::Miter), 8000, 3);
}

TEST(StrokeOutlineTest, MiterLimitMattersOnlyBetweenTheTwoLimits) {
    // A 30 degree spike has a miter ratio of 1 / sin(15 degrees) = 3.86; 10 degrees: 11.5.
    const Path spike30 = Parse("M0 0 L100 0 L0 57.735");
    const Path spike10 = Parse("M0 0 L100 0 L0 17.633");
    EXPECT_FALSE(MiterLimitMatters(spike30, 4, 10));  // mitred under both
    EXPECT_TRUE(MiterLimitMatters(spike30, 3, 10));   // bevelled at 3, mitred at 10
    EXPECT_FALSE(MiterLimitMatters(spike10, 4, 10));  // bevelled under both
    EXPECT_TRUE(MiterLimitMatters(spike10, 12, 10));
    // Right angles (ratio 1.41), the closing corners included.
    EXPECT_FALSE(MiterLimitMatters(Parse("M0 0 H100 V100 H0 Z"), 1.5, 10));
    EXPECT_TRUE(MiterLimitMatters(Parse("M0 0 H100 V100 H0 Z"), 1.5, 1.2));
    EXPECT_TRUE(MiterLimitMatters(Parse("M0 100 H100 L0 0 Z"), 1.5, 1.2));
}

TEST(DashTest, PatternRunsAlongFiguresAndRestartsOnEach) {
    const Path dashes = Dash(Parse("M0 0 H100 M0 10 H25"), {10, 5}, 0, kTolerance);
    // 0-10, 15-25, 30-40, ... 90-100 on the first figure (7), 0-10, 15-25 on the second.
    ASSERT_EQ(dashes.figures.size(), 9u);
    EXPECT_EQ(dashes.figures[1].start.x, 15);
    EXPECT_EQ(dashes.figures[1].segments.back().p3.x, 25);
    EXPECT_EQ(dashes.figures[7].start.y, 10);
    // A negative offset starts before the pattern: 3 into the gap before the first dash.
    const Path shifted = Dash(Parse("M0 0 H20"), {10, 5}, -3, kTolerance);
    EXPECT_EQ(shifted.figures[0].start.x, 3);
    // Around a corner a dash goes on as one figure.
    const Path corner = Dash(Parse("M0 0 H10 V10"), {15, 5}, 0, kTolerance);
    ASSERT_EQ(corner.figures.size(), 1u);
    EXPECT_EQ(corner.figures[0].segments.size(), 2u);
    // A closed figure's pattern runs on over the closing side.
    const Path closed = Dash(Parse("M0 0 H10 V10 H0 Z"), {35, 100}, 0, kTolerance);
    EXPECT_NEAR(closed.figures[0].segments.back().p3.y, 5, 1e-9);
}

TEST(EvenOddTest, SimpleAndNestedFiguresKeepTheirCurves) {
    // One figure that does not cross itself: nothing to do.
    const Path disc = Parse("M0 50 A50 50 0 1 1 100 50 A50 50 0 1 1 0 50 Z");
    EXPECT_EQ(EvenOddToWinding(disc, kTolerance).figures.size(), 1u);
    // Three nested circles drawn the same way round: outer ring filled, middle empty,
    // inner disc filled, as even-odd has it, with the arcs' curves kept.
    const Path nested = Parse(
        "M0 50 A50 50 0 1 1 100 50 A50 50 0 1 1 0 50 Z "
        "M20 50 A30 30 0 1 1 80 50 A30 30 0 1 1 20 50 Z "
        "M40 50 A10 10 0 1 1 60 50 A10 10 0 1 1 40 50 Z");
    const Path region = EvenOddToWinding(nested, kTolerance);
    EXPECT_NEAR(FilledArea(region, false, kTolerance), kPi * (2500 - 900 + 100), 5);
    ASSERT_EQ(region.figures.size(), 3u);
    for (const auto& f : region.figures) {
        for (const auto& s : f.segments) EXPECT_EQ(s.kind, Segment::Kind::Cubic);
    }
    // Only the middle one runs the other way now.
    auto firstStep = [](const Path& p, int i) { return p.figures[i].segments[0].p3.y; };
    EXPECT_EQ(firstStep(region, 0), firstStep(nested, 0));
    EXPECT_EQ(firstStep(region, 1), -firstStep(nested, 1) + 100);  // mirrored about y = 50
    EXPECT_EQ(firstStep(region, 2), firstStep(nested, 2));
}
