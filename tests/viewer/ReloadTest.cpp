// Live reload: when it happens, what it keeps, and what a failing document does.
#include <algorithm>

#include "ViewerFixture.h"

namespace {

class ReloadTest : public ViewerFixture {
  protected:
    void SetUp() override {
        ViewerFixture::SetUp();
        Write("doc.scn", Parent());
        Write("kid.scn", Kid());
    }

    // Frames until the reload the watcher's change asked for is due (150 ms of quiet).
    static void ChangeAndWait(ViewerRig& rig) {
        rig.watcher.Change();
        rig.Frames(10);
    }
    // A pixel column inside the square as last drawn.
    static int InSquare(ViewerRig& rig) { return static_cast<int>(rig.Variable("$x")) + 10; }
};

const char kBroken[] = "Scenimator{\nnoOfGeometries 1\nbar Rectangle{ x oops }\n";
const char kBrokenText[] = "Parse Error:::doc.scn : 3 : expecting \"y\" got \"}\"";

TEST_F(ReloadTest, AReloadLandsOnTheSameVariablesAsAnUninterruptedRun) {
    auto steady = Start("doc.scn");
    auto reloaded = Start("doc.scn");
    // Reloaded at 500 ms: the trigger (290 ms) is in the fast-forward, the hand-overs (590
    // and 710 ms) after it.
    steady->Frames(20);
    reloaded->Frames(20);
    ChangeAndWait(*reloaded);
    steady->Frames(10);
    EXPECT_EQ(reloaded->viewer.Loads(), 2u);
    EXPECT_EQ(reloaded->viewer.ElapsedMs(), 500u);
    ExpectSameVariables(*steady, *reloaded);
    // And on past the parent's hand-over into the wave.
    steady->Frames(60);
    reloaded->Frames(60);
    ExpectSameVariables(*steady, *reloaded);
    // Reloaded again at 1666 ms: now every hand-over is in the fast-forward.
    ChangeAndWait(*reloaded);
    steady->Frames(10);
    EXPECT_EQ(reloaded->viewer.Loads(), 3u);
    ExpectSameVariables(*steady, *reloaded);
    EXPECT_EQ(reloaded->music.log, std::vector<std::string>{"play 0"});
}

TEST_F(ReloadTest, ABurstOfChangesGivesOneReloadOnceTheFilesAreQuiet) {
    auto rig = Start("doc.scn");
    // An editor's save: several events 50 ms apart over 200 ms.
    for (int i = 0; i < 5; ++i) {
        rig->watcher.Change();
        rig->Frames(3);
        EXPECT_EQ(rig->viewer.Loads(), 1u) << "change " << i;
    }
    rig->Frames(5);  // 117 ms after the last change was seen: still waiting
    EXPECT_EQ(rig->viewer.Loads(), 1u);
    rig->Frames(2);
    EXPECT_EQ(rig->viewer.Loads(), 2u);
    rig->Frames(30);
    EXPECT_EQ(rig->viewer.Loads(), 2u);
}

TEST_F(ReloadTest, TheChangedFileIsReadAgainAndDrawn) {
    auto rig = Start("doc.scn");
    rig->Frames(1);
    EXPECT_EQ(rig->window.Rgb(InSquare(*rig), 20), 0xFF0000u);
    Write("doc.scn", Parent("0 1 0"));
    ChangeAndWait(*rig);
    EXPECT_EQ(rig->window.Rgb(InSquare(*rig), 20), 0x00FF00u);
}

TEST_F(ReloadTest, AFailedReloadKeepsTheDocumentPlayingAndShowsTheEnginesText) {
    auto rig = Start("doc.scn");
    rig->Frames(6);
    ZEL::IScenimator* playing = rig->viewer.Document();
    Write("doc.scn", kBroken);
    ChangeAndWait(*rig);
    EXPECT_EQ(rig->viewer.Document(), playing);
    EXPECT_EQ(rig->window.overlay.error, kBrokenText);
    const float before = rig->Variable("$x");
    rig->Frames(6);
    EXPECT_GT(rig->Variable("$x"), before);
    EXPECT_EQ(rig->window.overlay.error, kBrokenText);
    // Said once on standard error, not once a frame.
    EXPECT_EQ(rig->err.str(), std::string(kBrokenText) + "\n");

    Write("doc.scn", Parent());
    ChangeAndWait(*rig);
    EXPECT_NE(rig->viewer.Document(), playing);
    EXPECT_EQ(rig->window.overlay.error, "");
}

TEST_F(ReloadTest, WatchesEveryFileTheLoadNamedAndKeepsThemAfterAFailedLoad) {
    auto rig = Start("doc.scn");
    auto watched = [&](const std::string& file) {
        const auto& w = rig->watcher.watched;
        return std::find(w.begin(), w.end(), file) != w.end();
    };
    EXPECT_TRUE(watched("doc.scn") && watched("kid.scn") && watched("img/unused.png"));
    // This load stops before it reaches the child: the child is still watched.
    Write("doc.scn", kBroken);
    ChangeAndWait(*rig);
    EXPECT_TRUE(watched("doc.scn") && watched("kid.scn"));
}

TEST_F(ReloadTest, AFirstLoadThatFailsWaitsForTheFix) {
    Write("doc.scn", kBroken);
    auto rig = Start("doc.scn");
    rig->Frames(3);
    EXPECT_EQ(rig->viewer.Document(), nullptr);
    EXPECT_EQ(rig->window.overlay.error, kBrokenText);
    EXPECT_EQ(rig->window.Rgb(10, 20), 0xFFFFFFu);
    Write("doc.scn", Parent());
    ChangeAndWait(*rig);
    ASSERT_NE(rig->viewer.Document(), nullptr);
    EXPECT_EQ(rig->window.overlay.error, "");
    EXPECT_EQ(rig->window.Rgb(InSquare(*rig), 20), 0xFF0000u);
}

TEST_F(ReloadTest, ADocumentFailingAtUpdateStopsWithItsErrorAndAReloadRetries) {
    // The parent's scene ends at 710 ms with nowhere to go.
    std::string dead = Parent();
    const std::string handOver = "controller slide transitionTarget second";
    dead.replace(dead.find(handOver), handOver.size(), "controller slide transitionTarget null");
    Write("doc.scn", dead);
    auto rig = Start("doc.scn");
    rig->Frames(50);
    const std::string text =
        "Scenimator Runtime Blocking Error:::MainAnim is not a looping animation but it has a "
        "null transition target";
    EXPECT_EQ(rig->window.overlay.error, text);
    EXPECT_NE(rig->viewer.Document(), nullptr);
    // Stopped where it failed, the window still shown.
    const float stopped = rig->Variable("$x");
    const int presents = rig->window.presents;
    rig->Frames(10);
    EXPECT_EQ(rig->Variable("$x"), stopped);
    EXPECT_EQ(rig->window.presents, presents + 10);

    Write("doc.scn", Parent());
    ChangeAndWait(*rig);
    EXPECT_EQ(rig->window.overlay.error, "");
    const float wave = rig->Variable("$x");
    rig->Frames(5);
    EXPECT_NE(rig->Variable("$x"), wave);
}

}  // namespace
