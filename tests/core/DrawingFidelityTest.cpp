#include <png.h>

#include "GfxTestSupport.h"
#include "RenderFixture.h"

namespace {

// What the drawing commands promise about pixels: smooth edges where a command asks for
// them, aliased ones elsewhere, and translucent image pixels premultiplied with rounding.
class DrawingFidelityTest : public RenderFixture {
  protected:
    std::unique_ptr<ZEL::Scenimator> Draw(const std::string& geometries, const std::string& images,
                                          const std::string& commands, int count) {
        Doc d;
        d.geometries = geometries;
        d.brushes = "noOfBrushes 1\nink SolidColorBrush{ Color{ 0 0 0 1 } opacity 1 }\n";
        d.images = images;
        d.executables = "noOfExecutables 1\ndraw Procedure{ noOfCommands " + std::to_string(count) +
                        " " + commands + " }\n";
        d.animations =
            "noOfAnimations 1\nMainAnim Animation{ renderFunction draw controller "
            "null transitionTarget null }\n";
        auto doc = LoadOnTarget(d.Text());
        if (doc) {
            EXPECT_EQ(Frame(*doc, 0), ZEL::kSuccess) << doc->GetErrorText();
        }
        return doc;
    }
    // Pixels of the row between two columns that are neither white nor black.
    int PartlyCovered(int y, int x0, int x1) {
        int n = 0;
        for (int x = x0; x < x1; ++x) {
            const int g = At(x, y).g;
            n += g > 8 && g < 247;
        }
        return n;
    }
};

TEST_F(DrawingFidelityTest, FillsAndStrokesAreSmoothedAndTheTargetStaysAliased) {
    // A static ellipse (too large for a mask), a bound one, a slanted stroke.
    auto doc = Draw(
        "noOfGeometries 3\nstill Ellipse{ center Point{ 50 50 } radiusX 40.3 radiusY 30.7 "
        "hitTest 0 }\nbound Ellipse{ center Point{ 150 50 } radiusX $r radiusY 30.7 hitTest 0 "
        "}\nline Path{ noOfFigures 1 Figure{ startPoint Point{ 10 120 } closed 0 noOfSegments 1 "
        "Line{ to Point{ 190 190 } } } hitTest 0 }\n",
        "noOfImages 0\n", "Fill{ still ink } Fill{ bound ink } Stroke{ line ink 3 }", 3);
    ASSERT_TRUE(doc);
    ASSERT_EQ(doc->WriteVariable("$r", 40.3f), ZEL::kSuccess);
    Frame(*doc, 16);
    EXPECT_GE(PartlyCovered(50, 0, 100), 2);    // both sides of the static ellipse
    EXPECT_GE(PartlyCovered(50, 100, 200), 2);  // and of the bound one
    EXPECT_GE(PartlyCovered(155, 0, 200), 2);   // the slanted stroke
    EXPECT_EQ(m_Target->GetAntialiasMode(), Gfx::AntialiasMode::Aliased);
}

// Straight 201 at alpha 128 premultiplies to 201 * 128 / 255 = 100.9, so 101 (truncation
// would give 100); over white that shows 101 + 127 = 228.
TEST_F(DrawingFidelityTest, TranslucentImagePixelsPremultiplyWithRounding) {
    GfxTest::WritePng((m_Dir / "pixel.png").string(), 2, 1, PNG_COLOR_TYPE_RGB_ALPHA, 8,
                      {201, 201, 201, 128, 10, 60, 250, 77});
    auto doc = Draw("noOfGeometries 0\n", "noOfImages 1\npic BitmapFromFile{ pixel.png }\n",
                    "DrawImage{ source pic destRect Rect{ 20 20 22 21 } opacity 1 srcRect "
                    "Rect{ 0 0 2 1 } }",
                    1);
    ASSERT_TRUE(doc);
    const Pixel grey = At(20, 20);
    EXPECT_EQ(grey.r, 228);
    EXPECT_EQ(grey.a, 255);
    // 10, 60, 250 at 77: 3.02 -> 3, 18.1 -> 18, 75.5 -> 75 (rounded from 75.49), each
    // plus 255 * 178 / 255 = 178.
    const Pixel mixed = At(21, 20);
    EXPECT_EQ(mixed.r, 3 + 178);
    EXPECT_EQ(mixed.g, 18 + 178);
    EXPECT_EQ(mixed.b, 75 + 178);
}

}  // namespace
