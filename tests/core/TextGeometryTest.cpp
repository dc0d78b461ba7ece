#include <algorithm>

#include "Core/Text.h"
#include "RenderFixture.h"

namespace {

// Text drawn through documents, checked by its ink on a 200x200 target.
class TextGeometryTest : public RenderFixture {
  protected:
    struct Ink {
        int left = 1 << 20, top = 1 << 20, right = -1, bottom = -1;
        bool Any() const { return right >= 0; }
        float CentreX() const { return (left + right + 1) / 2.0f; }
        float CentreY() const { return (top + bottom + 1) / 2.0f; }
        int Height() const { return bottom - top + 1; }
    };

    Ink InkBounds() {
        Ink ink;
        for (int y = 0; y < 200; ++y) {
            for (int x = 0; x < 200; ++x) {
                if (!IsWhite(x, y)) {
                    ink.left = std::min(ink.left, x), ink.right = std::max(ink.right, x);
                    ink.top = std::min(ink.top, y), ink.bottom = std::max(ink.bottom, y);
                }
            }
        }
        return ink;
    }

    std::unique_ptr<ZEL::Scenimator> TextScene(const std::string& text, const std::string& size,
                                               const std::string& box,
                                               const std::string& brush = "ink",
                                               const std::string& transform = "still") {
        Doc d;
        d.geometries = "noOfGeometries 1\nt Text{ text " + text + " font Arial size " + size + " " +
                       box + " hitTest 0 }\n";
        d.brushes =
            "noOfBrushes 2\nink SolidColorBrush{ Color{ 0 0 0 1 } opacity 1 }\n"
            "sky LinearGradientBrush{ start Point{ 0 0 } end Point{ 200 0 } "
            "GradientStopCollection{ noOfGradientStops 2 GradientStop{ 0 Color{ 1 0 0 1 } } "
            "GradientStop{ 1 Color{ 0 0 1 1 } } extendMode 0 } opacity 1 }\n";
        d.transforms =
            "noOfTransforms 2\nstill Translation{ x 0 y 0 }\ndown Translation{ x 0 y 120 }\n";
        d.executables = "noOfExecutables 1\ndraw Procedure{ noOfCommands 3 PushTransform{ " +
                        transform + " } Fill{ t " + brush + " } PopTransform{ } }\n";
        d.controllers =
            "noOfControllers 1\ngrow Linear{ target $size begin 0 end 1000 loops 1 beginValue 10 "
            "endValue 60 noOfChildren 0 }\n";
        d.animations =
            "noOfAnimations 1\nMainAnim Animation{ renderFunction draw controller grow "
            "transitionTarget null }\n";
        return LoadOnTarget(d.Text());
    }
};

TEST_F(TextGeometryTest, TextIsCentredInItsBox) {
    auto doc = TextScene("Hello", "48", "x 0 y 0 w 200 h 50");
    ASSERT_TRUE(doc);
    EXPECT_EQ(Frame(*doc, 0), ZEL::kSuccess);
    const Ink ink = InkBounds();
    ASSERT_TRUE(ink.Any());
    EXPECT_NEAR(ink.CentreX(), 100, 3);
    EXPECT_NEAR(ink.CentreY(), 25, 6);  // cap height sits a little above the box centre
    EXPECT_GE(ink.top, 0);
    EXPECT_LE(ink.bottom, 60);
}

TEST_F(TextGeometryTest, AWrappedTextShowsOnlyItsLastLine) {
    auto doc = TextScene("AAAAAAAA-BBBB", "30", "x 0 y 0 w 200 h 200");
    ASSERT_TRUE(doc);
    Frame(*doc, 0);
    const Ink ink = InkBounds();
    ASSERT_TRUE(ink.Any());
    // "BBBB" alone: one line below the centre, much narrower than the whole token.
    EXPECT_GT(ink.top, 100);
    EXPECT_LT(ink.right - ink.left, 90);
}

TEST_F(TextGeometryTest, ABoundSizeIsLaidOutAgainEachFrame) {
    auto doc = TextScene("Hi", "$size", "x 0 y 0 w 200 h 200");
    ASSERT_TRUE(doc);
    Frame(*doc, 0);
    const int small = InkBounds().Height();
    Frame(*doc, 800);
    const int large = InkBounds().Height();
    EXPECT_NEAR(static_cast<float>(large) / small, 50.0f / 10.0f, 0.6f);
}

TEST_F(TextGeometryTest, EmptyAndUnusableTextsDrawNothingWithoutError) {
    ZEL::Text empty("", "Arial", ZEL::ValueD(20.0f), ZEL::ValueD(0.0f), ZEL::ValueD(0.0f),
                    ZEL::ValueD(100.0f), ZEL::ValueD(100.0f));
    EXPECT_EQ(empty.GetResource(), nullptr);
    for (const char* size : {"0", "1e30", "-5"}) {
        auto doc = TextScene("Hello", size, "x 0 y 0 w 200 h 50");
        ASSERT_TRUE(doc);
        EXPECT_EQ(Frame(*doc, 0), ZEL::kSuccess) << size;
        EXPECT_FALSE(InkBounds().Any()) << size;
    }
}

TEST_F(TextGeometryTest, GradientTextFollowsItsTransform) {
    auto doc = TextScene("Hello", "40", "x 0 y 0 w 200 h 50", "sky", "down");
    ASSERT_TRUE(doc);
    Frame(*doc, 0);
    const Ink ink = InkBounds();
    ASSERT_TRUE(ink.Any());
    EXPECT_GT(ink.top, 120);
    EXPECT_NEAR(ink.CentreY(), 145, 8);
    // Redder on the left, bluer on the right.
    int leftRed = 0, rightBlue = 0;
    for (int y = ink.top; y <= ink.bottom; ++y) {
        for (int x = ink.left; x <= ink.right; ++x) {
            const auto p = At(x, y);
            if (p.r < 250 || p.b < 250) {
                if (x < 100 && p.r > p.b) {
                    ++leftRed;
                }
                if (x >= 100 && p.b > p.r) {
                    ++rightBlue;
                }
            }
        }
    }
    EXPECT_GT(leftRed, 20);
    EXPECT_GT(rightBlue, 20);
}

TEST_F(TextGeometryTest, Utf8TextDrawsItsAccents) {
    auto plain = TextScene("ace", "48", "x 0 y 50 w 200 h 100");
    ASSERT_TRUE(plain);
    Frame(*plain, 0);
    const Ink without = InkBounds();
    auto accented = TextScene("ac\xC3\xA9", "48", "x 0 y 50 w 200 h 100");
    ASSERT_TRUE(accented);
    Frame(*accented, 0);
    const Ink with = InkBounds();
    // The same width (one glyph for the e with its accent), and the accent rises higher.
    EXPECT_NEAR(with.right - with.left, without.right - without.left, 3);
    EXPECT_LT(with.top, without.top);
}

}  // namespace
