// Whole SVGs imported, loaded by the engine and drawn: what arrives on the target.
#include <gtest/gtest.h>

#include "Import/Outline.h"
#include "Import/SvgSyntax.h"
#include "ImportFixture.h"

using namespace Import;

namespace {

// A five-pointed star drawn in one stroke: its centre pentagon is covered twice.
const char kStar[] = "M100 10 L153 182 L10 75 L190 75 L47 182 Z";

}  // namespace

TEST_F(ImportFixture, EvenOddStarLeavesItsCentreEmpty) {
    ASSERT_TRUE(Draw(Svg(std::string("<path fill='red' fill-rule='evenodd' d='") + kStar + "'/>")));
    EXPECT_TRUE(IsWhite(100, 100)) << m_Document;  // the doubly covered centre
    EXPECT_TRUE(IsRed(100, 40));                   // a point of the star
    ASSERT_TRUE(Draw(Svg(std::string("<path fill='red' d='") + kStar + "'/>")));
    EXPECT_TRUE(IsRed(100, 100));  // the winding rule fills it
}

TEST_F(ImportFixture, EvenOddRingKeepsItsCurvesAndTurnsTheHole) {
    // Two circles drawn the same way round: the winding rule would fill the hole.
    const std::string ring =
        "<path fill='red' fill-rule='evenodd' d='M100 20 A80 80 0 1 1 99.99 20 Z "
        "M100 60 A40 40 0 1 1 99.99 60 Z'/>";
    ASSERT_TRUE(Draw(Svg(ring)));
    EXPECT_TRUE(IsWhite(100, 100));
    EXPECT_TRUE(IsRed(100, 40));
    // The inner figure is turned round; no curve is flattened.
    EXPECT_NE(m_Document.find("path1.evenodd Path{ noOfFigures 2"), std::string::npos)
        << m_Document;
    EXPECT_EQ(m_Document.find("Line{"), std::string::npos) << m_Document;

    Path star;
    ASSERT_TRUE(ParsePathData(kStar, &star));
    const Path region = EvenOddToWinding(star, 0.01);
    EXPECT_NEAR(FilledArea(region, false, 0.01), FilledArea(star, true, 0.01), 1);
    EXPECT_LT(FilledArea(region, false, 0.01), FilledArea(star, false, 0.01) - 1000);
}

TEST_F(ImportFixture, BoundingBoxGradientFollowsATransformedShape) {
    // Red at the box's left, blue at its right, in the rectangle's own space; the
    // rectangle is turned a quarter and moved, so red lands at the top.
    ASSERT_TRUE(Draw(Svg(R"~(
        <linearGradient id="g"><stop offset="0" stop-color="red"/>
            <stop offset="1" stop-color="blue"/></linearGradient>
        <rect x="0" y="0" width="100" height="40" fill="url(#g)"
              transform="translate(120 50) rotate(90)"/>)~")));
    EXPECT_TRUE(Near(100, 51, 255, 0, 0, 12)) << m_Document;
    EXPECT_TRUE(Near(100, 149, 0, 0, 255, 12));
    EXPECT_TRUE(Near(100, 100, 128, 0, 128, 12));
    EXPECT_TRUE(IsWhite(100, 45));
    EXPECT_TRUE(IsWhite(70, 100));

    // A skewing gradient transform on a box radial gradient: the ellipse's axes turn, so
    // the brush is drawn in a turned frame; the centre stays red.
    ASSERT_TRUE(Draw(Svg(R"~(
        <radialGradient id="r" gradientTransform="rotate(30 0.5 0.5) scale(1 0.3)">
            <stop offset="0" stop-color="red"/><stop offset="1" stop-color="white"/>
        </radialGradient>
        <rect x="20" y="40" width="160" height="120" fill="url(#r)"/>)~")));
    EXPECT_NE(m_Document.find(".frame"), std::string::npos) << m_Document;
}

TEST_F(ImportFixture, UseOfAUseAddsBothOffsets) {
    ASSERT_TRUE(Draw(Svg(R"~(
        <defs><rect id="box" width="20" height="20" fill="red"/></defs>
        <use id="one" xlink:href="#box" x="30"/>
        <use id="two" href="#one" y="50" fill="blue"/>)~")));
    EXPECT_TRUE(IsRed(40, 10));
    EXPECT_TRUE(IsRed(40, 60));
    EXPECT_TRUE(IsWhite(10, 10));  // the definition itself is not drawn
    // Both uses draw the one geometry through their own transforms.
    EXPECT_EQ(m_Document.find("box-2"), std::string::npos) << m_Document;

    // A use that reaches itself is reported once and draws the rest.
    ASSERT_TRUE(Draw(Svg(R"~(<g id="loop"><use href="#loop"/><rect width="5" height="5"
        fill="red"/></g>)~")));
    EXPECT_TRUE(IsRed(2, 2));
    EXPECT_TRUE(Warned("refers to itself"));
}

TEST_F(ImportFixture, SymbolsFitTheirViewBoxIntoTheUse) {
    ASSERT_TRUE(Draw(Svg(R"~(
        <symbol id="s" viewBox="0 0 10 10"><rect width="10" height="10" fill="red"/></symbol>
        <use href="#s" x="100" y="100" width="50" height="50"/>)~")));
    EXPECT_TRUE(IsRed(148, 148));
    EXPECT_TRUE(IsWhite(152, 152));
    EXPECT_TRUE(IsWhite(98, 98));
}

TEST_F(ImportFixture, GradientHrefChainsLendAttributesAndStops) {
    ASSERT_TRUE(Draw(Svg(R"~(
        <linearGradient id="stops"><stop offset="0" stop-color="red"/>
            <stop offset="1" stop-color="blue"/></linearGradient>
        <linearGradient id="units" href="#stops" gradientUnits="userSpaceOnUse"
            x1="0" x2="200" spreadMethod="reflect"/>
        <linearGradient id="used" xlink:href="#units" x2="100"/>
        <linearGradient id="a" href="#b"/><linearGradient id="b" href="#a"/>
        <rect width="200" height="100" fill="url(#used)"/>
        <rect y="100" width="200" height="100" fill="url(#a) green"/>)~")));
    // user space, 0 to 100 from "used", reflected beyond from "units", stops from "stops"
    EXPECT_TRUE(Near(1, 50, 255, 0, 0, 8)) << m_Document;
    EXPECT_TRUE(Near(99, 50, 0, 0, 255, 8));
    EXPECT_TRUE(Near(199, 50, 255, 0, 0, 8));
    // a chain that loops has no stops: nothing is drawn, and the import ends
    EXPECT_TRUE(IsWhite(100, 150));
}

TEST_F(ImportFixture, RoundCapsAndJoinsBecomeOutlines) {
    ASSERT_TRUE(Draw(Svg(R"~(<path id="p" d="M40 100 L160 100" stroke="red" stroke-width="40"
        stroke-linecap="round"/>)~")));
    EXPECT_TRUE(IsRed(25, 100));   // inside the round cap
    EXPECT_TRUE(IsWhite(25, 82));  // outside it, where a square cap would reach
    EXPECT_NE(m_Document.find("p.outline"), std::string::npos);
    ASSERT_TRUE(
        Draw(Svg(R"~(<path id="p" d="M40 100 L160 100" stroke="red" stroke-width="40"/>)~")));
    EXPECT_NE(m_Document.find("Stroke{ p p.stroke 40 }"), std::string::npos) << m_Document;
}

TEST_F(ImportFixture, DashesBecomeFiguresThatKeepThePatternAndOffset) {
    ASSERT_TRUE(
        Draw(Svg(R"~(<path id="p" d="M20 100 H180 V180" fill="none" stroke="red" stroke-width="10"
        stroke-dasharray="20 10" stroke-dashoffset="5"/>)~")));
    // Along the line from x = 20: 15 on (offset 5 into the first dash), 10 off, 20 on ...
    EXPECT_TRUE(IsRed(25, 100)) << m_Document;
    EXPECT_TRUE(IsWhite(40, 100));
    EXPECT_TRUE(IsRed(50, 100));
    EXPECT_TRUE(IsWhite(70, 100));
    // The pattern runs on round the corner: 160 along the line, then down.
    EXPECT_NE(m_Document.find("p.dashes Path{"), std::string::npos);
    // An odd list is doubled: 10 on, 5 off, 5 on, 10 off ...
    ASSERT_TRUE(Draw(Svg(R"~(<path d="M0 100 H200" stroke="red" stroke-width="10"
        stroke-dasharray="10,5,5"/>)~")));
    EXPECT_TRUE(IsRed(5, 100));
    EXPECT_TRUE(IsWhite(12, 100));
    EXPECT_TRUE(IsRed(17, 100));
    EXPECT_TRUE(IsWhite(22, 100));
    EXPECT_TRUE(IsWhite(27, 100));
    EXPECT_TRUE(IsRed(32, 100));
}

TEST_F(ImportFixture, ClipPathsCutFillsAndStrokes) {
    ASSERT_TRUE(Draw(Svg(R"~(
        <clipPath id="disc"><circle cx="100" cy="100" r="50"/></clipPath>
        <clipPath id="half" clipPathUnits="objectBoundingBox"><rect width="0.5" height="1"/>
        </clipPath>
        <g clip-path="url(#disc)" transform="translate(10 0)">
          <rect x="-10" y="0" width="200" height="200" fill="red"/>
          <path d="M0 60 H200" stroke="blue" stroke-width="10"/>
        </g>
        <rect id="r" x="0" y="170" width="200" height="20" fill="red" clip-path="url(#half)"/>
    )~")));
    EXPECT_TRUE(IsRed(110, 100)) << m_Document;  // the disc moved with its group
    EXPECT_TRUE(IsWhite(50, 100));
    EXPECT_TRUE(IsWhite(170, 100));
    EXPECT_TRUE(Near(110, 60, 0, 0, 255, 8));  // the stroke, cut by the disc too
    EXPECT_TRUE(IsWhite(40, 60));
    EXPECT_TRUE(IsRed(50, 180));  // the left half of the box
    EXPECT_TRUE(IsWhite(150, 180));

    ASSERT_TRUE(Draw(Svg(R"~(<clipPath id="c"><text>no</text></clipPath>
        <rect id="r" width="20" height="20" fill="red" clip-path="url(#c)"/>)~")));
    EXPECT_TRUE(Warned("clip-path on \"r\" is not imported (it holds <text>)"));
    EXPECT_TRUE(IsRed(10, 10));
}

TEST_F(ImportFixture, ShapeOpacityFadesFillAndOpaqueStrokeAsOne) {
    ASSERT_TRUE(Draw(Svg(R"~(<rect id="r" x="40" y="40" width="120" height="120" fill="red"
        stroke="blue" stroke-width="20" opacity="0.5"/>)~")));
    EXPECT_TRUE(Near(100, 100, 255, 128, 128, 3)) << m_Document;  // the fill, half faded
    EXPECT_TRUE(Near(45, 100, 128, 128, 255, 3));  // the stroke's inner half: no red under it
    EXPECT_TRUE(Near(35, 100, 128, 128, 255, 3));  // its outer half
    EXPECT_FALSE(Warned("apart"));
    EXPECT_NE(m_Document.find("r.cut Path{"), std::string::npos);
    // A translucent stroke cannot hide the fill: that is reported instead.
    ASSERT_TRUE(Draw(Svg(R"~(<rect id="r" x="40" y="40" width="120" height="120" fill="red"
        stroke="blue" stroke-opacity="0.5" stroke-width="20" opacity="0.5"/>)~")));
    EXPECT_TRUE(Warned("opacity on \"r\" is applied to its fill and its stroke apart"));
}

TEST_F(ImportFixture, WhatCannotBeImportedIsReportedOncePerKindAndElement) {
    ASSERT_TRUE(Draw(Svg(R"~(
        <filter id="blur"><feGaussianBlur stdDeviation="2"/></filter>
        <rect id="r" width="50" height="50" fill="red" filter="url(#blur)"
              stroke="blue" stroke-dasharray="4 2" mask="url(#m)"/>
        <g id="g" filter="url(#blur)"><rect width="10" height="10"/></g>
        <foreignObject id="fo"/>)~")));
    const auto& w = m_Diag.Warnings();
    EXPECT_EQ(
        std::count(w.begin(), w.end(), "in.svg:3: warning: <filter> on \"r\" is not imported"), 1);
    EXPECT_TRUE(Warned("in.svg:5: warning: <filter> on \"g\" is not imported"));
    EXPECT_TRUE(Warned("<mask> on \"r\" is not imported"));
    EXPECT_TRUE(Warned("<foreignObject> on \"fo\" is not imported"));
    EXPECT_TRUE(IsRed(25, 25));  // the rest is still drawn
}

TEST_F(ImportFixture, NamesComeFromIdsWithThePrefix) {
    Import::ConvertOptions options;
    options.prefix = "logo.";
    const std::string doc = Convert(Svg(R"~(
        <g id="wheel" transform="rotate(30 50 50)"><circle id="hub" cx="50" cy="50" r="10"
            fill="#f00"/></g><rect id="ground" width="10" height="10"/>)~"),
                                    options);
    for (const char* expected :
         {"logo.hub Ellipse{", "logo.hub.fill SolidColorBrush{", "logo.wheel.pivot Translation{",
          "logo.wheel.turn Rotation{ t 30 }", "logo.wheel Procedure{", "Call{ logo.wheel }",
          "logo.ground Rectangle{", "logo.draw Procedure{", "renderFunction logo.draw"}) {
        EXPECT_NE(doc.find(expected), std::string::npos) << expected << "\n" << doc;
    }
}

TEST_F(ImportFixture, GroupsInsideATopLevelLayerGetProceduresToo) {
    const std::string doc = Convert(
        "<svg xmlns='http://www.w3.org/2000/svg' "
        "xmlns:inkscape='http://www.inkscape.org/namespaces/inkscape'>"
        "<g id='layer1' inkscape:groupmode='layer'><g id='tree'><rect width='5' height='5'/></g>"
        "<g id='house'><g id='door'><rect width='1' height='1'/></g></g></g>"
        "<g id='plain'><g id='inner'><rect width='1' height='1'/></g></g></svg>");
    for (const char* expected :
         {"tree Procedure{", "house Procedure{", "layer1 Procedure{", "Call{ tree }",
          "Call{ house }", "Call{ layer1 }", "plain Procedure{", "Call{ plain }"}) {
        EXPECT_NE(doc.find(expected), std::string::npos) << expected << "\n" << doc;
    }
    // Only one level: groups in groups stay inside their procedure.
    EXPECT_EQ(doc.find("door Procedure{"), std::string::npos);
    EXPECT_EQ(doc.find("inner Procedure{"), std::string::npos);
}

TEST_F(ImportFixture, TextBecomesATextGeometryOnItsBaseline) {
    ASSERT_TRUE(Draw(Svg(R"~(<text id="t" x="20" y="120" font-family="DejaVu Sans"
        font-size="40" fill="red">Hi  there</text>)~")));
    EXPECT_NE(m_Document.find("text Hi\xC2\xA0there font DejaVuSans size 40"), std::string::npos)
        << m_Document;
    EXPECT_TRUE(Warned("<text> on \"t\" is laid out by the player"));
    // Ink above the baseline, none below it but descenders (there are none here).
    int inkAbove = 0, inkBelow = 0;
    for (int x = 18; x < 200; ++x) {
        inkAbove += IsWhite(x, 110) ? 0 : 1;
        inkBelow += IsWhite(x, 124) ? 0 : 1;
    }
    EXPECT_GT(inkAbove, 10);
    EXPECT_EQ(inkBelow, 0);
    EXPECT_TRUE(IsWhite(17, 110));  // starts at x = 20 (the H has a little side bearing)
}
