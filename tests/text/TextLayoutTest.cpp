#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "TextTestSupport.h"

using namespace Gfx;
using TextTest::CentredFormat;
using TextTest::LayOut;
using TextTest::RecordedRun;
using TextTest::RecordingRenderer;
using TextTest::RecordingSink;

TEST(TextLayout, SingleLineIsCentredInItsBox) {
    RecordingRenderer renderer;
    ASSERT_EQ(kOk, LayOut("Hello", *CentredFormat(48), 200, 50, 0, 0, &renderer));
    ASSERT_EQ(1u, renderer.runs.size());
    const RecordedRun& run = renderer.runs[0];
    EXPECT_EQ(kOk, run.outlineResult);
    EXPECT_EQ(5u, run.glyphs.size());
    EXPECT_NEAR(100, run.outline.CentreX(), 3);
    EXPECT_NEAR(25, run.outline.CentreY(), 3);
    // Caps stand on the baseline.
    EXPECT_NEAR(run.baselineY, run.outline.bottom, 0.5);
    EXPECT_EQ(3, renderer.queries);
}

TEST(TextLayout, OriginMovesEveryBaselineByTheSameAmount) {
    RecordingRenderer atZero, moved;
    auto format = CentredFormat(30);
    ASSERT_EQ(kOk, LayOut("Hello world, again", *format, 120, 100, 0, 0, &atZero));
    ASSERT_EQ(kOk, LayOut("Hello world, again", *format, 120, 100, 30.5f, -40, &moved));
    ASSERT_EQ(atZero.runs.size(), moved.runs.size());
    ASSERT_GT(atZero.runs.size(), 1u);
    for (size_t i = 0; i < atZero.runs.size(); ++i) {
        EXPECT_FLOAT_EQ(atZero.runs[i].baselineX + 30.5f, moved.runs[i].baselineX);
        EXPECT_FLOAT_EQ(atZero.runs[i].baselineY - 40, moved.runs[i].baselineY);
    }
}

// With snapping on, baselines land on whole device pixels: moving a box by half a pixel
// moves its text by a whole pixel or not at all. Across the line, x is left alone.
TEST(TextLayout, BaselinesSnapToDevicePixels) {
    auto format = CentredFormat(30);
    for (const float y : {0.0f, 0.25f, 0.5f, 0.75f, 10.3f}) {
        SCOPED_TRACE(y);
        RecordingRenderer snapped, halves, free;
        halves.pixelsPerDip = 2;
        free.snappingDisabled = true;
        ASSERT_EQ(kOk, LayOut("Hello world, again", *format, 120, 100, 0.5f, y, &snapped));
        ASSERT_EQ(kOk, LayOut("Hello world, again", *format, 120, 100, 0.5f, y, &halves));
        ASSERT_EQ(kOk, LayOut("Hello world, again", *format, 120, 100, 0.5f, y, &free));
        ASSERT_EQ(snapped.runs.size(), free.runs.size());
        for (size_t i = 0; i < snapped.runs.size(); ++i) {
            const float exact = free.runs[i].baselineY;
            EXPECT_FLOAT_EQ(snapped.runs[i].baselineY, std::floor(exact + 0.5f));
            EXPECT_FLOAT_EQ(halves.runs[i].baselineY, std::floor(exact * 2 + 0.5f) / 2);
            EXPECT_FLOAT_EQ(snapped.runs[i].baselineX, free.runs[i].baselineX);
        }
    }
    // Under a scale the grid is the device's: a baseline at 10.3 DIPs scaled by 3 is at
    // device pixel 31, so 31 / 3 DIPs.
    RecordingRenderer scaled, free;
    scaled.transform = Gfx::Matrix3x2::Scale(3, 3);
    free.snappingDisabled = true;
    ASSERT_EQ(kOk, LayOut("Hello", *format, 120, 100, 0, 7, &scaled));
    ASSERT_EQ(kOk, LayOut("Hello", *format, 120, 100, 0, 7, &free));
    EXPECT_FLOAT_EQ(scaled.runs[0].baselineY, std::floor(free.runs[0].baselineY * 3 + 0.5f) / 3);
}

TEST(TextLayout, ParagraphAndTextAlignmentPlaceTheLine) {
    std::shared_ptr<TextFormat> format;
    ASSERT_EQ(kOk, TextFormat::Create("Arial", kFontWeightNormal, FontStyle::Normal,
                                      kFontStretchNormal, 20, "en-us", &format));
    RecordingRenderer nearLeading, farTrailing;
    ASSERT_EQ(kOk, LayOut("Hi", *format, 300, 200, 0, 0, &nearLeading));
    format->SetTextAlignment(TextAlignment::Trailing);
    format->SetParagraphAlignment(ParagraphAlignment::Far);
    ASSERT_EQ(kOk, LayOut("Hi", *format, 300, 200, 0, 0, &farTrailing));
    ASSERT_EQ(1u, nearLeading.runs.size());
    ASSERT_EQ(1u, farTrailing.runs.size());
    const RecordingSink& a = nearLeading.runs[0].outline;
    const RecordingSink& b = farTrailing.runs[0].outline;
    EXPECT_LT(a.left, 5);
    EXPECT_GT(a.top, 0);
    EXPECT_LT(a.bottom, 20);
    EXPECT_GT(b.right, 295);
    EXPECT_LE(b.right, 300);
    EXPECT_GT(b.bottom, 180);
    EXPECT_LT(b.bottom, 200);
}

TEST(TextLayout, CentredTextTallerThanItsBoxOverflowsBothEdges) {
    RecordingRenderer renderer;
    ASSERT_EQ(kOk, LayOut("H", *CentredFormat(100), 200, 10, 0, 0, &renderer));
    ASSERT_EQ(1u, renderer.runs.size());
    EXPECT_LT(renderer.runs[0].outline.top, 0);
    EXPECT_GT(renderer.runs[0].outline.bottom, 10);
}

TEST(TextLayout, WrapsAfterAHyphenWhenTheTokenIsWiderThanTheBox) {
    RecordingRenderer renderer;
    ASSERT_EQ(kOk, LayOut("AAAAAAAA-BBBB", *CentredFormat(30), 200, 100, 0, 0, &renderer));
    ASSERT_EQ(2u, renderer.runs.size());
    EXPECT_EQ(9u, renderer.runs[0].glyphs.size());
    EXPECT_EQ(4u, renderer.runs[1].glyphs.size());
    const float lineStep = renderer.runs[1].baselineY - renderer.runs[0].baselineY;
    EXPECT_NEAR(30 * 1.15, lineStep, 2);
    // Both lines centred: the second, shorter line starts further right.
    EXPECT_GT(renderer.runs[1].outline.left, renderer.runs[0].outline.left + 30);
    EXPECT_NEAR(100, renderer.runs[1].outline.CentreX(), 3);
    EXPECT_LE(renderer.runs[0].outline.right, 200);
}

TEST(TextLayout, WrapsInsideAWordThatAloneIsWiderThanTheBoxWithoutAddingHyphens) {
    RecordingRenderer renderer;
    ASSERT_EQ(kOk, LayOut("AAAAAAAAAA", *CentredFormat(30), 100, 200, 0, 0, &renderer));
    ASSERT_GT(renderer.runs.size(), 1u);
    size_t glyphs = 0;
    for (const RecordedRun& run : renderer.runs) {
        glyphs += run.glyphs.size();
        EXPECT_LE(run.outline.Width(), 100);
    }
    EXPECT_EQ(10u, glyphs);
}

TEST(TextLayout, LineBreaksStartNewLines) {
    RecordingRenderer renderer;
    ASSERT_EQ(kOk, LayOut("A\nB", *CentredFormat(20), 200, 100, 0, 0, &renderer));
    ASSERT_EQ(2u, renderer.runs.size());
    EXPECT_GT(renderer.runs[1].baselineY, renderer.runs[0].baselineY + 15);
}

TEST(TextLayout, Utf8TextShapesByCharacter) {
    RecordingRenderer renderer;
    ASSERT_EQ(kOk, LayOut("caf\xC3\xA9", *CentredFormat(30), 200, 50, 0, 0, &renderer));
    ASSERT_EQ(1u, renderer.runs.size());
    EXPECT_EQ(4u, renderer.runs[0].glyphs.size());
}

TEST(TextLayout, EmptyTextDrawsNoRunAndSucceeds) {
    RecordingRenderer renderer;
    EXPECT_EQ(kOk, LayOut("", *CentredFormat(30), 200, 50, 0, 0, &renderer));
    EXPECT_TRUE(renderer.runs.empty());
}

TEST(TextLayout, RendererFailureEndsDrawWithItsCode) {
    RecordingRenderer failing;
    failing.runResult = kWrongState;
    EXPECT_EQ(kWrongState,
              LayOut("one two three four", *CentredFormat(30), 60, 200, 0, 0, &failing));
    EXPECT_EQ(1u, failing.runs.size());

    RecordingRenderer refusing;
    refusing.queryResult = kFail;
    EXPECT_EQ(kFail, LayOut("Hello", *CentredFormat(30), 200, 50, 0, 0, &refusing));
    EXPECT_TRUE(refusing.runs.empty());
}

TEST(TextLayout, OutlineHeightFollowsTheEmSize) {
    RecordingRenderer small, large;
    ASSERT_EQ(kOk, LayOut("Hello", *CentredFormat(24), 400, 100, 0, 0, &small));
    ASSERT_EQ(kOk, LayOut("Hello", *CentredFormat(72), 400, 100, 0, 0, &large));
    ASSERT_EQ(1u, small.runs.size());
    ASSERT_EQ(1u, large.runs.size());
    const float ratioH = large.runs[0].outline.Height() / small.runs[0].outline.Height();
    const float ratioW = large.runs[0].outline.Width() / small.runs[0].outline.Width();
    EXPECT_NEAR(3, ratioH, 0.02);
    EXPECT_NEAR(3, ratioW, 0.02);
}

// A size animated in small steps must move the text smoothly, not in jumps (30.5 and
// 30.8 are laid out at different internal sizes).
TEST(TextLayout, SmallSizeStepsScaleSmoothly) {
    RecordingRenderer base, nudged;
    ASSERT_EQ(kOk, LayOut("Hello there", *CentredFormat(30.5f), 400, 100, 0, 0, &base));
    ASSERT_EQ(kOk, LayOut("Hello there", *CentredFormat(30.8f), 400, 100, 0, 0, &nudged));
    ASSERT_EQ(1u, base.runs.size());
    ASSERT_EQ(1u, nudged.runs.size());
    EXPECT_NEAR(30.8f, nudged.runs[0].emSize, 1e-4);
    EXPECT_NEAR(30.8 / 30.5, nudged.runs[0].outline.Width() / base.runs[0].outline.Width(), 0.001);
    EXPECT_NEAR(30.8 / 30.5, nudged.runs[0].outline.Height() / base.runs[0].outline.Height(),
                0.001);
    float baseAdvance = 0, nudgedAdvance = 0;
    for (size_t i = 0; i < base.runs[0].advances.size(); ++i) {
        baseAdvance += base.runs[0].advances[i];
        nudgedAdvance += nudged.runs[0].advances[i];
    }
    EXPECT_NEAR(30.8 / 30.5, nudgedAdvance / baseAdvance, 0.001);
}

TEST(TextLayout, RejectsBrokenTextAndUnusableBoxes) {
    auto format = CentredFormat(20);
    std::shared_ptr<TextLayout> layout;
    const float inf = std::numeric_limits<float>::infinity();
    EXPECT_EQ(kInvalidArg, TextLayout::Create("caf\xC3", *format, 100, 50, &layout));
    EXPECT_EQ(kInvalidArg, TextLayout::Create(std::string("a\0b", 3), *format, 100, 50, &layout));
    for (float w : {-1.0f, inf, std::nanf("")}) {
        EXPECT_EQ(kInvalidArg, TextLayout::Create("a", *format, w, 50, &layout)) << w;
    }
    for (float h : {-1.0f, inf, std::nanf("")}) {
        EXPECT_EQ(kInvalidArg, TextLayout::Create("a", *format, 100, h, &layout)) << h;
    }
    EXPECT_FALSE(layout);
    EXPECT_EQ(kOk, TextLayout::Create("a", *format, 0, 0, &layout));
    ASSERT_TRUE(layout);
    EXPECT_EQ(kInvalidArg, layout->Draw(nullptr, nullptr, 0, 0));
}

TEST(TextLayout, BoxesWiderThanPangoMeasuresStillCentre) {
    RecordingRenderer renderer;
    ASSERT_EQ(kOk, LayOut("Hello", *CentredFormat(0.5f), 6e6f, 50, -3e6f, 0, &renderer));
    ASSERT_EQ(1u, renderer.runs.size());
    EXPECT_NEAR(0, renderer.runs[0].outline.CentreX(), 1);
}

// Hebrew between Latin words: runs come left to right on screen, and each run's outline,
// placed at its baseline origin, lies where Pango puts it, without overlapping the next.
TEST(TextLayout, RightToLeftRunsAreOutlinedWhereTheyAreLaidOut) {
    RecordingRenderer renderer;
    const std::string hebrew = "\xD7\xA9\xD7\x9C\xD7\x95\xD7\x9D";  // four letters
    ASSERT_EQ(kOk, LayOut("abc " + hebrew + " def", *CentredFormat(30), 600, 50, 0, 0, &renderer));
    std::vector<const RecordedRun*> inked;
    const RecordedRun* rtl = nullptr;
    for (const RecordedRun& run : renderer.runs) {
        if (run.bidiLevel % 2 == 1) {
            EXPECT_FALSE(rtl) << "one right-to-left run expected";
            rtl = &run;
        }
        if (!run.outline.Empty()) {
            inked.push_back(&run);
        }
    }
    ASSERT_TRUE(rtl);
    ASSERT_EQ(3u, inked.size());  // abc, the Hebrew word, def
    EXPECT_EQ(rtl, inked[1]);
    EXPECT_EQ(4u, rtl->glyphs.size());
    float width = 0;
    for (float a : rtl->advances) {
        width += a;
    }
    // The origin is the run's right end; its glyphs extend to the left of it.
    EXPECT_LE(rtl->outline.right, rtl->baselineX + 1);
    EXPECT_GE(rtl->outline.left, rtl->baselineX - width - 1);
    EXPECT_GT(rtl->outline.left, inked[0]->outline.right);
    EXPECT_LT(rtl->outline.right, inked[2]->outline.left);
    EXPECT_NEAR(300, renderer.Union().CentreX(), 3);
}

TEST(TextLayout, RightToLeftParagraphStaysCentred) {
    RecordingRenderer renderer;
    const std::string hebrew = "\xD7\xA9\xD7\x9C\xD7\x95\xD7\x9D";
    ASSERT_EQ(kOk, LayOut(hebrew, *CentredFormat(40), 200, 50, 10, 20, &renderer));
    ASSERT_EQ(1u, renderer.runs.size());
    EXPECT_EQ(1u, renderer.runs[0].bidiLevel % 2);
    EXPECT_NEAR(110, renderer.runs[0].outline.CentreX(), 3);
    EXPECT_NEAR(45, renderer.runs[0].outline.CentreY(), 6);
}
