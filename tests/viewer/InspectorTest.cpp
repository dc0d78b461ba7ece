// What the overlay is given: animations, variables, hit-test geometries, clicks, times.
#include "Viewer/FrameStats.h"
#include "ViewerFixture.h"

namespace {

using ZEL::ViewerKey;

class InspectorTest : public ViewerFixture {
  protected:
    void SetUp() override {
        ViewerFixture::SetUp();
        Write("doc.scn", Parent());
        Write("kid.scn", Kid());
    }
};

TEST_F(InspectorTest, ListsTheCurrentAnimationsAndEveryVariableOnlyWhileShown) {
    auto rig = Start("doc.scn");
    rig->Frames(24);  // 400 ms: the trigger has started the child's "run"
    EXPECT_TRUE(rig->window.overlay.variables.empty());
    rig->Key(ViewerKey::F1);
    rig->Frames(1);
    const ZEL::OverlayModel& shown = rig->window.overlay;
    ASSERT_EQ(shown.animations.size(), 2u);
    EXPECT_EQ(shown.animations[0].document, "");
    EXPECT_EQ(shown.animations[0].animation, "MainAnim");
    EXPECT_EQ(shown.animations[1].document, "kid");
    EXPECT_EQ(shown.animations[1].animation, "run");
    ASSERT_EQ(shown.variables.size(), 2u);
    EXPECT_EQ(shown.variables[0].name, "$x");
    EXPECT_EQ(shown.variables[1].name, "kid/$c");
    EXPECT_FLOAT_EQ(shown.variables[1].value, 126);  // 416 ms - 290 ms
    // Timed all along, shown or not.
    EXPECT_EQ(shown.frames.renderMs.size(), 25u);
    rig->Key(ViewerKey::F1);
    rig->Frames(1);
    EXPECT_TRUE(rig->window.overlay.variables.empty());
}

TEST_F(InspectorTest, HitShapesAreInTargetPixelsAndFollowThePointer) {
    auto rig = Start("doc.scn", 192);  // two pixels per document unit
    rig->Key(ViewerKey::F2);
    rig->Key(ViewerKey::Space);
    rig->Frames(1);
    const float x = rig->Variable("$x");
    rig->window.events.push_back(ZEL::ViewerEvent::PointerAt(static_cast<int>(2 * x) + 4, 30));
    rig->Frames(1);
    const auto& rows = rig->window.overlay.shapeRows;
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].name, "bar");
    EXPECT_FLOAT_EQ(rows[0].pixels.left, 2 * x);
    EXPECT_FLOAT_EQ(rows[0].pixels.top, 20);
    EXPECT_FLOAT_EQ(rows[0].pixels.bottom, 60);
    EXPECT_TRUE(rows[0].underPointer);
    rig->window.events.push_back(ZEL::ViewerEvent::PointerAt(static_cast<int>(2 * x) - 4, 30));
    rig->Frames(1);
    EXPECT_FALSE(rig->window.overlay.shapeRows[0].underPointer);
}

TEST_F(InspectorTest, AClickReportsTheDocumentsAnswerAndTheShapesHit) {
    auto rig = Start("doc.scn");
    rig->Key(ViewerKey::Space);
    rig->Frames(1);  // paused at 16 ms, the square at x 2.3
    rig->window.events.push_back(ZEL::ViewerEvent::ClickAt(12, 20));
    rig->window.events.push_back(ZEL::ViewerEvent::ClickAt(12, 50));
    rig->Frames(1);
    EXPECT_EQ(rig->out.str(), "16 hit 12 20 1 bar\n16 hit 12 50 0\n");
    EXPECT_TRUE(rig->window.overlay.click.made);
    EXPECT_FALSE(rig->window.overlay.click.hit);
}

TEST(FrameStatsTest, MediansAndTailsOfTheLastFiveSecondsHoldStillWhileNothingIsDrawn) {
    ZEL::FrameStats stats;
    // Six seconds of frames: 1 ms updates, 3 ms renders, a 40 ms render in the first second
    // (gone from the history) and four, just over 1 %, in the last five.
    for (uint64_t i = 0; i < 360; ++i) {
        const bool slow = i == 10 || i == 100 || i == 200 || i == 250 || i == 300;
        const float render = slow ? 40.0f : 3.0f;
        stats.AddDrawn(i * 16667, 1.0f, render);
        stats.AddShown(i * 16667);
    }
    ZEL::FrameSeries series = stats.Series();
    EXPECT_EQ(series.renderMs.size(), 300u);
    EXPECT_FLOAT_EQ(series.updateMedian, 1);
    EXPECT_FLOAT_EQ(series.renderMedian, 3);
    EXPECT_FLOAT_EQ(series.renderP99, 40);
    EXPECT_NEAR(stats.FramesPerSecond(), 60, 0.1);
    for (uint64_t i = 360; i < 600; ++i) {
        stats.AddShown(i * 16667);
    }
    EXPECT_EQ(stats.Series().renderMs.size(), 300u);
}

}  // namespace
