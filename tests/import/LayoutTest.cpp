// Where things land: the root's size and viewBox, nested viewports, images, text anchors,
// paint order and hidden elements.
#include <gtest/gtest.h>

#include "ImportFixture.h"

TEST_F(ImportFixture, SizeFitsTheViewBoxByItsAspectRatio) {
    const std::string square = R"~(<rect width="10" height="10" fill="red"/>)~";
    Import::ConvertOptions options;
    options.width = 200;
    options.height = 100;
    // meet: a 10x10 view in 200x100 is 100x100, centred
    m_Root = Import::ParseSvgText("<svg xmlns='http://www.w3.org/2000/svg' viewBox='0 0 10 10'>" +
                                  square + "</svg>");
    auto doc = LoadOnTarget(Import::Converter(*m_Root, options, &m_Diag).Run().document);
    ASSERT_TRUE(doc);
    Frame(*doc, 0);
    EXPECT_TRUE(IsWhite(45, 50));
    EXPECT_TRUE(IsRed(55, 50));
    EXPECT_TRUE(IsRed(145, 50));
    EXPECT_TRUE(IsWhite(155, 50));
    // none: stretched over the whole size
    m_Root = Import::ParseSvgText(
        "<svg xmlns='http://www.w3.org/2000/svg' viewBox='0 0 10 10' "
        "preserveAspectRatio='none'>" +
        square + "</svg>");
    auto stretched = LoadOnTarget(Import::Converter(*m_Root, options, &m_Diag).Run().document);
    ASSERT_TRUE(stretched);
    Frame(*stretched, 0);
    EXPECT_TRUE(IsRed(5, 50));
    EXPECT_TRUE(IsRed(195, 95));
    // the SVG's own size in units: 1in is 96 pixels
    m_Root = Import::ParseSvgText(
        "<svg xmlns='http://www.w3.org/2000/svg' width='1in' height='0.5in'/>");
    const auto result = Import::Converter(*m_Root, {}, &m_Diag).Run();
    EXPECT_EQ(result.width, 96);
    EXPECT_EQ(result.height, 48);
}

TEST_F(ImportFixture, NestedViewportsPlaceTheirContent) {
    ASSERT_TRUE(Draw(Svg(R"~(<svg x="100" y="100" width="100" height="50" viewBox="0 0 20 10">
        <rect width="10" height="10" fill="red"/></svg>)~")));
    EXPECT_TRUE(IsRed(102, 102));
    EXPECT_TRUE(IsRed(148, 148));
    EXPECT_TRUE(IsWhite(152, 148));
}

TEST_F(ImportFixture, TextAnchorsPutTheMiddleOrTheEndAtX) {
    auto inkSpan = [this](int y, int* left, int* right) {
        *left = 200;
        *right = -1;
        for (int x = 0; x < 200; ++x) {
            if (!IsWhite(x, y)) {
                *left = std::min(*left, x);
                *right = std::max(*right, x);
            }
        }
    };
    int left, right;
    ASSERT_TRUE(Draw(Svg(R"~(<text x="100" y="100" text-anchor="middle" font-size="30"
        font-family="DejaVu Sans">IIIIII</text>)~")));
    inkSpan(90, &left, &right);
    EXPECT_NEAR((left + right) / 2.0, 100, 3) << m_Document;
    ASSERT_TRUE(Draw(Svg(R"~(<text x="150" y="100" text-anchor="end" font-size="30"
        font-family="DejaVu Sans">IIIIII</text>)~")));
    inkSpan(90, &left, &right);
    EXPECT_NEAR(right, 150, 5);
    // Lines as positioned tspans each become a text of their own.
    const std::string doc = Convert(Svg(R"~(<text id="t" x="10" y="20" xml:space="default">
        <tspan x="10" y="20">first  line</tspan><tspan x="10" y="40" fill="blue">second</tspan>
        </text>)~"));
    EXPECT_NE(doc.find("text first\xC2\xA0line font"), std::string::npos) << doc;
    EXPECT_NE(doc.find("text second font"), std::string::npos);
}

TEST_F(ImportFixture, ImagesKeepTheirAspectRatio) {
    const char png[] =
        "iVBORw0KGgoAAAANSUhEUgAAAAEAAAABCAIAAACQd1PeAAAADElEQVR4nGP4z8AAAAMBAQDJ/"
        "pLvAAAAAElFTkSuQmCC";
    Import::ConvertOptions options;
    options.images.stem = "doc";
    m_Root = Import::ParseSvgText(Svg(std::string("<image id='meet' x='0' y='0' width='100' "
                                                  "height='50' href='data:image/png;base64,") +
                                      png +
                                      "'/><image id='slice' y='60' width='100' "
                                      "height='50' preserveAspectRatio='xMinYMin slice' "
                                      "href='data:image/png;base64," +
                                      png + "'/>"));
    const auto result = Import::Converter(*m_Root, options, &m_Diag).Run();
    ASSERT_EQ(result.files.size(), 2u);
    EXPECT_EQ(result.files[0].path, "doc-meet.png");
    // meet: a square image in a 100x50 box is 50x50, centred
    EXPECT_NE(result.document.find("destRect Rect{ 25 0 75 50 }"), std::string::npos)
        << result.document;
    // slice: it fills the box, and only the part that shows is drawn
    EXPECT_NE(result.document.find("destRect Rect{ 0 60 100 110 } opacity 1 srcRect "
                                   "Rect{ 0 0 1 0.5 }"),
              std::string::npos)
        << result.document;
}

TEST_F(ImportFixture, HiddenThingsAndPaintOrder) {
    const std::string doc = Convert(Svg(R"~(
        <rect id="gone" width="5" height="5" display="none"/>
        <g visibility="hidden"><rect id="hidden" width="5" height="5"/>
            <rect id="shown" width="5" height="5" visibility="visible"/></g>
        <rect id="under" width="5" height="5" fill="red" stroke="blue"
              style="paint-order: stroke"/>)~"));
    EXPECT_EQ(doc.find("gone"), std::string::npos);
    EXPECT_EQ(doc.find("Fill{ hidden"), std::string::npos) << doc;
    EXPECT_NE(doc.find("Fill{ shown"), std::string::npos);
    EXPECT_LT(doc.find("Stroke{ under"), doc.find("Fill{ under"));
}
