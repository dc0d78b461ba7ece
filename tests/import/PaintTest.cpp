// Paints as brushes: solid colours with their opacities, gradient parameters, fallbacks.
#include <gtest/gtest.h>

#include "ImportFixture.h"

namespace {

// The body of the brush named name in the document.
std::string Brush(const std::string& doc, const std::string& name) {
    const size_t at = doc.find("\n" + name + " ");
    if (at == std::string::npos)
        return "";
    const size_t end = doc.find('\n', at + 1);
    return doc.substr(at + 1, end - at - 1);
}

}  // namespace

TEST_F(ImportFixture, OpacitiesMultiplyIntoTheBrush) {
    const std::string doc = Convert(Svg(R"~(<g opacity="0.5"><rect id="r" width="10" height="10"
        fill="rgba(255,0,0,0.5)" fill-opacity="0.8" opacity="0.5"/></g>)~"));
    // the colour's own alpha stays in the colour; the rest is the brush's opacity
    EXPECT_EQ(Brush(doc, "r.fill"), "r.fill SolidColorBrush{ Color{ 1 0 0 0.5 } opacity 0.2 }");
}

TEST_F(ImportFixture, GradientStopsAreClampedAndNeverGoBack) {
    const std::string doc = Convert(Svg(R"~(<linearGradient id="g">
        <stop offset="-0.5" stop-color="red"/><stop offset="60%" stop-color="lime"
        stop-opacity="0.5"/><stop offset="0.3" style="stop-color: blue"/>
        <stop offset="2" stop-color="currentColor" color="#ff0"/></linearGradient>
        <rect width="100" height="10" fill="url(#g)"/>)~"));
    const std::string g = Brush(doc, "g");
    EXPECT_NE(g.find("GradientStop{ 0 Color{ 1 0 0 1 } } GradientStop{ 0.6 Color{ 0 1 0 0.5 } } "
                     "GradientStop{ 0.6 Color{ 0 0 1 1 } } GradientStop{ 1 Color{ 1 1 0 1 } }"),
              std::string::npos)
        << g;
}

TEST_F(ImportFixture, SpreadMethodsAndUserSpacePercentages) {
    const std::string doc = Convert(Svg(R"~(
        <linearGradient id="pad" gradientUnits="userSpaceOnUse" x1="10%" x2="50%">
            <stop offset="0" stop-color="red"/><stop offset="1" stop-color="blue"/></linearGradient>
        <linearGradient id="repeat" href="#pad" spreadMethod="repeat"/>
        <linearGradient id="reflect" href="#pad" spreadMethod="reflect"/>
        <rect width="10" height="10" fill="url(#pad)"/><rect width="10" height="10"
        fill="url(#repeat)"/><rect width="10" height="10" fill="url(#reflect)"/>)~"));
    // percentages of the 200 wide viewport: 20 to 100
    EXPECT_NE(Brush(doc, "pad").find("start Point{ 20 0 } end Point{ 100 0 }"), std::string::npos)
        << doc;
    EXPECT_NE(Brush(doc, "pad").find("extendMode 0"), std::string::npos);
    EXPECT_NE(Brush(doc, "repeat").find("extendMode 1"), std::string::npos);
    EXPECT_NE(Brush(doc, "reflect").find("extendMode 2"), std::string::npos);
}

TEST_F(ImportFixture, RadialFocusStaysInsideAndBoxUnitsStretchTheEllipse) {
    const std::string doc = Convert(Svg(R"~(<radialGradient id="r" fx="1.5" fy="0.5">
        <stop offset="0" stop-color="red"/><stop offset="1" stop-color="blue"/></radialGradient>
        <rect x="0" y="0" width="200" height="100" fill="url(#r)"/>)~"));
    // centre (100, 50), radii 100 and 50; the focus, beyond the rim, moves just inside it
    EXPECT_NE(Brush(doc, "r").find("center Point{ 100 50 } originOffset Point{ 99.9 0 } "
                                   "radiusX 100 radiusY 50"),
              std::string::npos)
        << doc;
    ASSERT_TRUE(Draw(Svg(R"~(<radialGradient id="r"><stop offset="0" stop-color="red"/>
        <stop offset="1" stop-color="blue"/></radialGradient>
        <rect x="0" y="0" width="200" height="100" fill="url(#r)"/>)~")));
    EXPECT_TRUE(Near(100, 50, 255, 0, 0, 8));
    EXPECT_TRUE(Near(199, 50, 0, 0, 255, 10));  // the rim, 100 to the side
    EXPECT_TRUE(Near(100, 99, 0, 0, 255, 10));  // and 50 down
}

TEST_F(ImportFixture, UnusablePaintsFallBack) {
    const std::string doc = Convert(Svg(R"~(
        <pattern id="p" width="4" height="4"><rect width="2" height="2"/></pattern>
        <rect id="a" width="10" height="10" fill="url(#missing) green"/>
        <rect id="b" width="10" height="10" fill="url(#p) #00f"/>
        <rect id="c" width="10" height="10" fill="url(#missing)"/>
        <linearGradient id="empty"/><rect id="d" width="10" height="10" fill="url(#empty)"/>
        <linearGradient id="one"><stop stop-color="red"/></linearGradient>
        <rect id="e" width="10" height="10" fill="url(#one)"/>)~"));
    EXPECT_NE(Brush(doc, "a.fill").find("Color{ 0 0.502 0 1 }"), std::string::npos) << doc;
    EXPECT_NE(Brush(doc, "b.fill").find("Color{ 0 0 1 1 }"), std::string::npos);
    EXPECT_EQ(Brush(doc, "c.fill"), "");  // no fallback: nothing drawn
    EXPECT_EQ(Brush(doc, "d.fill"), "");  // no stops: nothing drawn
    EXPECT_NE(Brush(doc, "e.fill").find("SolidColorBrush{ Color{ 1 0 0 1 }"), std::string::npos);
    EXPECT_TRUE(Warned("the paint \"missing\" of \"a\" does not exist; its fallback is used"));
    EXPECT_TRUE(Warned("<pattern> on \"b\" is not imported"));
}
