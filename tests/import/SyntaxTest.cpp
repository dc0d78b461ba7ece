// Path data, transforms and colours as SVG++ and the importer's own glue read them.
#include <gtest/gtest.h>

#include <cmath>

#include "Import/Geometry2D.h"
#include "Import/PaintServer.h"
#include "Import/SvgSyntax.h"

using namespace Import;

namespace {

Path Parse(const std::string& d) {
    Path p;
    EXPECT_TRUE(ParsePathData(d, &p)) << d;
    return p;
}

Point End(const Path& p) {
    const Figure& f = p.figures.back();
    return f.segments.empty() ? f.start : f.segments.back().p3;
}

}  // namespace

TEST(ArcTest, SweepFlagPicksTheSideOfTheChord) {
    // A half circle of radius 10 from (0,0) to (20,0): above the chord with sweep 1 (y down).
    const Box up = BoundsOf(Parse("M0 0 A10 10 0 0 1 20 0"));
    EXPECT_NEAR(up.top, -10, 0.01);
    EXPECT_NEAR(up.bottom, 0, 1e-9);
    const Box down = BoundsOf(Parse("M0 0 A10 10 0 0 0 20 0"));
    EXPECT_NEAR(down.bottom, 10, 0.01);
    EXPECT_NEAR(down.top, 0, 1e-9);
}

TEST(ArcTest, LargeArcFlagPicksTheLongWayRound) {
    // Radius 10 from (0,0) to (10,10): the small arc stays in the square between them, the
    // large one goes round three quarters of a circle.
    for (int sweep = 0; sweep <= 1; ++sweep) {
        const std::string s = std::to_string(sweep);
        const Box small = BoundsOf(Parse("M0 0 A10 10 0 0 " + s + " 10 10"));
        const Box large = BoundsOf(Parse("M0 0 A10 10 0 1 " + s + " 10 10"));
        EXPECT_NEAR(small.Width(), 10, 0.01) << sweep;
        EXPECT_NEAR(small.Height(), 10, 0.01) << sweep;
        EXPECT_NEAR(large.Width(), 20, 0.01) << sweep;
        EXPECT_NEAR(large.Height(), 20, 0.01) << sweep;
    }
}

TEST(ArcTest, RadiiTooSmallGrowToReachTheEndPoint) {
    const Path p = Parse("M0 0 A1 1 0 0 1 20 0");
    EXPECT_NEAR(BoundsOf(p).top, -10, 0.01);
    EXPECT_EQ(End(p).x, 20);
    EXPECT_EQ(End(p).y, 0);
    // Elliptical radii keep their ratio: 2:1 scaled up until the chord fits.
    const Box e = BoundsOf(Parse("M0 0 A2 1 0 0 1 40 0"));
    EXPECT_NEAR(e.top, -10, 0.01);
}

TEST(ArcTest, ZeroRadiusIsALineAndNegativeRadiiAreErrors) {
    const Path line = Parse("M0 0 A0 5 0 0 1 20 10");
    ASSERT_EQ(line.figures[0].segments.size(), 1u);
    EXPECT_EQ(line.figures[0].segments[0].kind, Segment::Kind::Line);
    // The grammar has no sign for radii: a negative one is an error, drawn up to it.
    Path p;
    EXPECT_FALSE(ParsePathData("M0 0 L5 0 A-10 -10 0 0 1 20 0", &p));
    EXPECT_EQ(p.figures[0].segments.size(), 1u);
    // An arc to its own start point draws nothing.
    EXPECT_TRUE(Parse("M5 5 A10 10 0 1 1 5 5").figures[0].segments.empty());
}

TEST(ArcTest, RotatedArcEndsExactlyWhereAsked) {
    const Path p = Parse("M10 10 a30 10 45 1 0 37.5 -12.25");
    EXPECT_DOUBLE_EQ(End(p).x, 47.5);
    EXPECT_DOUBLE_EQ(End(p).y, -2.25);
}

TEST(PathDataTest, RelativeCommandsAfterCloseStartFromTheClosedFiguresStart) {
    const Path p = Parse("M10 10 l10 0 l0 10 z l5 5 m1 1 h2 z m3 3 v4");
    ASSERT_EQ(p.figures.size(), 4u);
    EXPECT_TRUE(p.figures[0].closed);
    // After z, "l5 5" opens a new figure at (10,10), the start of the closed one.
    EXPECT_EQ(p.figures[1].start.x, 10);
    EXPECT_EQ(p.figures[1].segments[0].p3.x, 15);
    EXPECT_EQ(p.figures[1].segments[0].p3.y, 15);
    // "m1 1" moves from the current point (15,15); after the next z the current point is
    // that figure's start (16,16), so "m3 3" starts at (19,19).
    EXPECT_EQ(p.figures[2].start.x, 16);
    EXPECT_EQ(p.figures[3].start.x, 19);
    EXPECT_EQ(p.figures[3].segments[0].p3.y, 23);
}

TEST(PathDataTest, ShorthandsAndQuadraticsBecomeCubics) {
    const Path p = Parse("M0 0 Q10 10 20 0 T40 0 C45 -5 50 -5 55 0 S65 5 70 0 H80 V10");
    const auto& s = p.figures[0].segments;
    ASSERT_EQ(s.size(), 6u);
    // Q (0,0)-(10,10)-(20,0) as a cubic: control points two thirds towards (10,10).
    EXPECT_NEAR(s[0].p1.x, 20.0 / 3, 1e-9);
    EXPECT_NEAR(s[0].p1.y, 20.0 / 3, 1e-9);
    // T reflects the last control point: (30,-10), so the cubic pulls upwards.
    EXPECT_NEAR(s[1].p1.y, -20.0 / 3, 1e-9);
    // S reflects (50,-5) about (55,0): first control point (60,5).
    EXPECT_EQ(s[3].p1.x, 60);
    EXPECT_EQ(s[3].p1.y, 5);
    EXPECT_EQ(s[5].p3.x, 80);
    EXPECT_EQ(s[5].p3.y, 10);
}

TEST(PathDataTest, AnErrorKeepsWhatCameBefore) {
    Path p;
    EXPECT_FALSE(ParsePathData("M0 0 L10 10 L20 x", &p));
    ASSERT_EQ(p.figures.size(), 1u);
    EXPECT_EQ(p.figures[0].segments.size(), 1u);
    EXPECT_FALSE(ParsePathData("M0 0 L1e400 0", &p) && std::isfinite(End(p).x));
}

TEST(TransformTest, ListsKeepTheirStepsAndMatricesDecompose) {
    std::vector<TransformStep> steps;
    ASSERT_TRUE(ParseTransformList("translate(10) rotate(30 5 5),scale(2 3) skewX(20)", &steps));
    ASSERT_EQ(steps.size(), 4u);
    EXPECT_EQ(steps[0].kind, TransformStep::Kind::Translate);
    EXPECT_EQ(steps[0].v[1], 0);
    EXPECT_EQ(steps[1].kind, TransformStep::Kind::Rotate);
    EXPECT_EQ(steps[3].kind, TransformStep::Kind::Matrix);
    EXPECT_FALSE(ParseTransformList("translate(10", &steps));
    EXPECT_TRUE(steps.empty());

    // Any matrix, reflections and skews included, is R(phi) S(sx, sy) R(theta).
    for (const Affine& m : {Affine{1, 0.2, 0.7, 1.3, 5, 6}, Affine{-2, 0, 0, 1, 0, 0},
                            Affine{0, 3, -1, 0, 0, 0}, steps[3].ToAffine()}) {
        const Decomposition d = Decompose(m);
        const Affine back =
            Affine::Rotate(d.phi) * Affine::Scaling(d.sx, d.sy) * Affine::Rotate(d.theta);
        EXPECT_NEAR(back.a, m.a, 1e-9);
        EXPECT_NEAR(back.b, m.b, 1e-9);
        EXPECT_NEAR(back.c, m.c, 1e-9);
        EXPECT_NEAR(back.d, m.d, 1e-9);
    }
}

TEST(ColorTest, EveryCssFormReads) {
    struct Case {
        const char* text;
        double r, g, b, a;
    } cases[] = {
        {"red", 1, 0, 0, 1},
        {"#0f0", 0, 1, 0, 1},
        {"#0000FF", 0, 0, 1, 1},
        {"rgb(255, 128, 0)", 1, 128 / 255.0, 0, 1},
        {"rgb(100%,50%,0%)", 1, 127 / 255.0, 0, 1},
        {"rgba(0, 0, 255, 0.5)", 0, 0, 1, 0.5},
        {"hsl(120, 100%, 50%)", 0, 1, 0, 1},
        {"hsla(240, 100%, 50%, 0.25)", 0, 0, 1, 0.25},
        {"transparent", 0, 0, 0, 0},
        {"#ff000080", 1, 0, 0, 128 / 255.0},
        {"#f008", 1, 0, 0, 136 / 255.0},
        {" lightsteelblue ", 176 / 255.0, 196 / 255.0, 222 / 255.0, 1},
    };
    for (const auto& c : cases) {
        Rgba out;
        ASSERT_TRUE(ParseColor(c.text, &out)) << c.text;
        EXPECT_NEAR(out.r, c.r, 0.003) << c.text;
        EXPECT_NEAR(out.g, c.g, 0.003) << c.text;
        EXPECT_NEAR(out.b, c.b, 0.003) << c.text;
        EXPECT_NEAR(out.a, c.a, 0.003) << c.text;
    }
    Rgba out;
    for (const char* bad : {"bogus", "#12", "rgb(1,2)", "url(#x)", ""}) {
        EXPECT_FALSE(ParseColor(bad, &out)) << bad;
    }
    Paint paint;
    ASSERT_TRUE(ParsePaint("url(#g) #00f", &paint));
    EXPECT_EQ(paint.kind, Paint::Kind::Url);
    EXPECT_EQ(paint.url, "g");
    EXPECT_TRUE(paint.hasFallback);
    EXPECT_EQ(paint.fallbackColor.b, 1);
}

TEST(LengthTest, UnitsResolveAt96PerInch) {
    Length l;
    ASSERT_TRUE(ParseLength("1in", &l));
    EXPECT_DOUBLE_EQ(l.Resolve(16, 0), 96);
    ASSERT_TRUE(ParseLength("2.54cm", &l));
    EXPECT_NEAR(l.Resolve(16, 0), 96, 1e-9);
    ASSERT_TRUE(ParseLength("2em", &l));
    EXPECT_DOUBLE_EQ(l.Resolve(12, 0), 24);
    ASSERT_TRUE(ParseLength("25%", &l));
    EXPECT_DOUBLE_EQ(l.Resolve(16, 200), 50);
    EXPECT_FALSE(ParseLength("12 px", &l));
}
