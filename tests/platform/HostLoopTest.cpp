#include <gtest/gtest.h>

#include "HostFixture.h"

using ZEL::Message;
using ZEL::SizeKind;

using HostLoopTest = HostFixture;

namespace {
const Message kEscape = Message::KeyDown(ZEL::kKeyEscape);
}

TEST_F(HostLoopTest, BurstOfMessagesIsHandledOnePerPass) {
    os.Post(Message::Paint());
    os.Post(Message::KeyDown('A'));
    os.Post(Message::Paint());
    os.Post(kEscape);
    EXPECT_EQ(Run(), 0);
    EXPECT_EQ(Updates(), 4);
    // Pass number at which each message was dispatched.
    std::vector<int> passes;
    int pass = 0;
    for (const std::string& entry : os.Log()) {
        pass += entry == "PeekMessage";
        if (entry.rfind("Dispatch ", 0) == 0) {
            passes.push_back(pass);
        }
    }
    EXPECT_EQ(passes, (std::vector<int>{1, 2, 3, 4}));
    EXPECT_EQ(os.Count("BeginDraw"), 4 + 2);
}

TEST_F(HostLoopTest, EscapeEndsAfterItsPassAndOtherKeysDoNothing) {
    os.Post(Message::KeyDown('A'), 1);
    os.Post(Message::KeyDown(13), 2);
    os.Post(kEscape, 5);
    EXPECT_EQ(Run(), 0);
    EXPECT_EQ(Updates(), 5);
    EXPECT_EQ(os.Count("BeginDraw"), 5);
    EXPECT_TRUE(EntriesStartingWith("DefWindowProc").empty());
    EXPECT_EQ(os.Count("MusicStop"), 1);
}

TEST_F(HostLoopTest, ClosingDestroysTheWindowAndRunsOneMorePass) {
    os.Post(Message::Close(), 3);
    EXPECT_EQ(Run(), 0);
    int destroy = IndexOf("Dispatch destroy");
    ASSERT_GT(destroy, IndexOf("DefWindowProc close"));
    EXPECT_EQ(Updates(), 3);
    EXPECT_GT(IndexOf("MusicStop"), destroy);
    EXPECT_EQ(os.Log().back(), "delete surface");
}

TEST_F(HostLoopTest, LeftButtonReleaseExitsZeroAtOnceWithoutTeardown) {
    os.Post(Message::LeftButtonUp(), 3);
    EXPECT_EQ(Run(), 0);
    EXPECT_EQ(Updates(), 2);
    EXPECT_EQ(os.Log().back(), "ExitProcess 0");
    EXPECT_FALSE(Logged("MusicStop"));
    EXPECT_FALSE(Logged("delete document"));
}

TEST_F(HostLoopTest, StopsAtTheFirstPassPast154000MsAlsoAcrossTheWrap) {
    for (uint32_t start : {1000u, 0xFFFFFFFFu - 70000u}) {
        SCOPED_TRACE(start);
        ZEL::ScriptedOsLayer scripted;
        EngineScript script;
        scripted.SetTick(start);
        // 154 frames reach exactly 154000 ms, which keeps the loop going; one more ms ends it.
        scripted.SetFrameDurations(std::vector<uint32_t>(154, 1000), 1);
        int code = scripted.RunToExit([&] {
            return ZEL::RunHost(scripted, [&] { return new FakeFactory(scripted, script); });
        });
        EXPECT_EQ(code, 0);
        EXPECT_EQ(script.updateTimes.size(), 155u);
        EXPECT_EQ(scripted.Tick() - start, 154001u);
        EXPECT_EQ(scripted.Count("MusicStop"), 1);
    }
}

TEST_F(HostLoopTest, TitleShowsTheRateOfEachFrame) {
    os.SetFrameDurations({16, 17, 15, 0}, 16);
    os.Post(kEscape, 4);
    Run();
    std::vector<std::string> expected = {"62.5", "58.8235", "66.6667", "inf"};
    EXPECT_EQ(EntriesStartingWith("SetWindowTitle Ombrelune: Current Frame Rate (fps) = "),
              expected);
}

TEST_F(HostLoopTest, FrameRateLeavesOutTheMessageHandling) {
    // The paint's own frame takes 500 ms before the pass reads its start time.
    os.SetFrameDurations({500, 20}, 20);
    os.Post(Message::Paint());
    os.Post(kEscape, 2);
    Run();
    EXPECT_EQ(EntriesStartingWith("SetWindowTitle ").front(),
              "Ombrelune: Current Frame Rate (fps) = 50");
}

TEST_F(HostLoopTest, MinimisingResizesButDrawsNothingAndTheLoopGoesOn) {
    os.Post(Message::Size(0, 0, SizeKind::Minimized), 2);
    os.Post(kEscape, 4);
    EXPECT_EQ(Run(), 0);
    EXPECT_TRUE(Logged("Resize 0x0"));
    EXPECT_EQ(Updates(), 4);
    EXPECT_EQ(os.Count("BeginDraw"), 4);
}

TEST_F(HostLoopTest, RestoreResizesThenDrawsTheLastUpdatedState) {
    os.Post(Message::Size(640, 480, SizeKind::Restored), 2);
    os.Post(Message::Size(1024, 768, SizeKind::Maximized), 3);
    os.Post(kEscape, 4);
    Run();
    int resize = IndexOf("Resize 640x480");
    ASSERT_GE(resize, 0);
    // Pass 2 draws for the size message before its own update: no update in between.
    const auto& log = os.Log();
    EXPECT_EQ(log[resize + 1], "BeginDraw");
    EXPECT_EQ(
        std::count(log.begin() + resize, log.begin() + IndexOf("Dispatch size 1024x768 maximized"),
                   std::string("Update")),
        1);
    EXPECT_TRUE(Logged("Resize 1024x768"));
    EXPECT_EQ(os.Count("BeginDraw"), 4 + 1);
}

TEST_F(HostLoopTest, FullScreenSurfaceIgnoresSizesButDrawsOnRestore) {
    os.SurfaceConfig().followsWindowSize = false;
    os.Post(Message::Size(640, 480, SizeKind::Restored), 1);
    os.Post(Message::Size(0, 0, SizeKind::Minimized), 2);
    os.Post(kEscape, 3);
    Run();
    EXPECT_TRUE(EntriesStartingWith("Resize").empty());
    EXPECT_EQ(os.Count("BeginDraw"), 3 + 1);
}

TEST_F(HostLoopTest, DocumentClockStartsBeforeLoadingAndTheLimitAfterTheMusic) {
    os.SetTick(5000);
    os.SetCallHook([this](const std::string& entry) {
        if (entry.rfind("CreateScenimator", 0) == 0) {
            os.Advance(700);  // loading takes time
        } else if (entry == "MusicPlay") {
            os.Advance(300);
        }
    });
    os.SetFrameDurations({}, 1000);
    EXPECT_EQ(Run(), 0);
    EXPECT_EQ(engine.loadStartTime, 5000u);
    ASSERT_EQ(Updates(), 155);
    EXPECT_EQ(engine.updateTimes.front(), 6000u);
    // The animation has run a second longer than the music when the program stops.
    EXPECT_EQ(engine.updateTimes.back() - engine.loadStartTime, 155000u);
}
