// Pause, seeks, frame steps and the music that follows them.
#include "ViewerFixture.h"

namespace {

using ZEL::ViewerKey;

class TransportTest : public ViewerFixture {
  protected:
    void SetUp() override {
        ViewerFixture::SetUp();
        Write("doc.scn", Parent());
        Write("kid.scn", Kid());
    }
};

TEST_F(TransportTest, PauseStopsTheClockTheDocumentAndTheMusic) {
    auto rig = Start("doc.scn");
    rig->Frames(30);
    rig->Key(ViewerKey::Space);
    rig->Frames(1);
    const uint64_t paused = rig->viewer.ElapsedMs();
    const auto variables = rig->Variables();
    rig->Frames(120);
    EXPECT_EQ(rig->viewer.ElapsedMs(), paused);
    EXPECT_EQ(rig->Variable("$x"), variables[0].value);
    EXPECT_NE(rig->window.title.find("paused"), std::string::npos) << rig->window.title;
    rig->Key(ViewerKey::Space);
    rig->Frames(7);
    // On from where it stood: six frames, 100 ms, after the one that resumed.
    EXPECT_EQ(rig->viewer.ElapsedMs(), paused + 100);
    EXPECT_EQ(rig->music.log, (std::vector<std::string>{"play 0", "pause", "resume"}));
}

TEST_F(TransportTest, SeekingBackEqualsAFreshRunToThatTime) {
    auto fresh = Start("doc.scn");
    auto seeker = Start("doc.scn");
    fresh->Frames(180);   // 3 s
    seeker->Frames(480);  // 8 s
    seeker->Key(ViewerKey::Left);
    seeker->Frames(1);
    fresh->Frames(1);
    EXPECT_EQ(seeker->viewer.Loads(), 2u);
    EXPECT_EQ(seeker->viewer.ElapsedMs(), fresh->viewer.ElapsedMs());
    ExpectSameVariables(*fresh, *seeker);
    seeker->Frames(40);
    fresh->Frames(40);
    ExpectSameVariables(*fresh, *seeker);
}

TEST_F(TransportTest, SeekingForwardLandsHandOversWhereA60FpsRunHasThem) {
    auto steady = Start("doc.scn");
    auto seeker = Start("doc.scn");
    // One jump from 0 over every trigger and hand-over to 5 s.
    seeker->Key(ViewerKey::Right);
    seeker->Frames(1);
    steady->Frames(301);
    EXPECT_EQ(seeker->viewer.Loads(), 1u);
    EXPECT_EQ(seeker->viewer.ElapsedMs(), steady->viewer.ElapsedMs());
    ExpectSameVariables(*steady, *seeker);
}

TEST_F(TransportTest, ShiftSeeksOneSecondAndNeverBeforeTheLoadTime) {
    auto rig = Start("doc.scn");
    rig->Key(ViewerKey::Space);
    rig->Frames(1);
    const uint64_t paused = rig->viewer.ElapsedMs();
    rig->Key(ViewerKey::Right, true);
    rig->Frames(1);
    EXPECT_EQ(rig->viewer.ElapsedMs(), paused + 1000);
    rig->Key(ViewerKey::Left);
    rig->Frames(1);
    EXPECT_EQ(rig->viewer.ElapsedMs(), 0u);
}

TEST_F(TransportTest, FrameStepsMoveOneGridFrameOnlyWhilePaused) {
    auto rig = Start("doc.scn");
    rig->Frames(3);
    rig->Key(ViewerKey::Period);
    rig->Frames(1);
    EXPECT_EQ(rig->viewer.ElapsedMs(), 66u);  // playing: the key did nothing
    rig->Key(ViewerKey::Space);
    rig->Frames(1);
    EXPECT_EQ(rig->viewer.ElapsedMs(), 83u);
    rig->Key(ViewerKey::Period);
    rig->Frames(1);
    EXPECT_EQ(rig->viewer.ElapsedMs(), 100u);
    rig->Key(ViewerKey::Comma);
    rig->Key(ViewerKey::Comma);
    rig->Frames(1);
    EXPECT_EQ(rig->viewer.ElapsedMs(), 66u);
    // Each step back is a reload run up to its frame.
    EXPECT_EQ(rig->viewer.Loads(), 3u);
    EXPECT_NEAR(rig->Variable("$x"), 66.0f / 710 * 100, 1e-4);
}

TEST_F(TransportTest, HomeGoesBackToTheLoadTime) {
    auto rig = Start("doc.scn");
    const auto atLoad = rig->Variables();
    rig->Frames(100);
    rig->Key(ViewerKey::Home);
    rig->Frames(1);
    EXPECT_EQ(rig->viewer.ElapsedMs(), 0u);
    const auto now = rig->Variables();
    ASSERT_EQ(now.size(), atLoad.size());
    for (size_t i = 0; i < now.size(); ++i) {
        EXPECT_EQ(now[i].value, atLoad[i].value) << now[i].name;
    }
}

TEST_F(TransportTest, TheMusicFollowsSeeksAndAPausedSeekWaitsForTheResume) {
    auto rig = Start("doc.scn");
    rig->Frames(60);
    rig->Key(ViewerKey::Right);
    rig->Frames(1);
    rig->Key(ViewerKey::Space);
    rig->Key(ViewerKey::Left, true);
    rig->Key(ViewerKey::Period);
    rig->Frames(1);
    // Sought at 1016 ms, paused at 6033, back to 5033, one frame on.
    EXPECT_EQ(rig->music.log, (std::vector<std::string>{"play 0", "play 6016", "pause"}));
    rig->Key(ViewerKey::Space);
    rig->Frames(1);
    EXPECT_EQ(rig->music.log.back(), "play 5050");
}

TEST_F(TransportTest, EscapeAndClosingEndTheViewer) {
    auto rig = Start("doc.scn");
    rig->Key(ViewerKey::Escape);
    EXPECT_FALSE(rig->viewer.Frame());
    rig->window.events.push_back(ZEL::ViewerEvent::Quit());
    EXPECT_FALSE(rig->viewer.Frame());
    rig->Key(ViewerKey::Other);
    EXPECT_TRUE(rig->viewer.Frame());
}

}  // namespace
