#include <gtest/gtest.h>

#include "HostFixture.h"

using ZEL::Message;
using ZEL::SizeKind;

using HostStartupTest = HostFixture;

TEST_F(HostStartupTest, RunsStartupFirstPassAndShutdownInOrder) {
    os.SetTick(5000);
    os.Post(Message::KeyDown(ZEL::kKeyEscape));
    EXPECT_EQ(Run(), 0);
    std::vector<std::string> expected = {
        "RegisterWindowClass ZelWindow",
        "GetDesktopDpi",
        "CreateMainWindow ZelWindow \"Zel\" 800x600",
        "GetTickCount",  // the document's start time, before anything is loaded
        "CreateSurface 96x96",
        "GetFactory",
        "CreateScenimator data\\vortel\\postprocess.scn",
        "ShowMainWindow",
        "MusicInit 44100",
        "MusicLoad data\\music\\duskwave.mp3",
        "MusicPlay",
        "GetTickCount",  // start of the time limit
        "PeekMessage",
        "Dispatch key 27",
        "GetTickCount",
        "Update",
        "BeginDraw",
        "Clear 1,1,1,1",
        "Render",
        "EndDraw",
        "Present",
        "GetTickCount",
        "SetWindowTitle Ombrelune: Current Frame Rate (fps) = 62.5",
        "GetTickCount",
        "MusicStop",
        "MusicFree",
        "delete document",
        "delete factory",
        "delete surface",
    };
    EXPECT_EQ(os.Log(), expected);
    EXPECT_EQ(engine.loadStartTime, 5000u);
}

TEST_F(HostStartupTest, WindowSizeScalesWithDesktopDpiTruncated) {
    os.SetDesktopDpi(144, 100);
    os.Post(Message::KeyDown(ZEL::kKeyEscape));
    Run();
    EXPECT_TRUE(Logged("CreateMainWindow ZelWindow \"Zel\" 1200x625"));
    EXPECT_TRUE(Logged("CreateSurface 144x100"));
}

TEST_F(HostStartupTest, MissingWindowEndsWithoutMusicOrDocument) {
    os.SetWindowCreated(false);
    EXPECT_EQ(Run(), 1);
    EXPECT_FALSE(Logged("GetFactory"));
    EXPECT_TRUE(EntriesStartingWith("Music").empty());
    EXPECT_TRUE(EntriesStartingWith("MessageBox").empty());
}

TEST_F(HostStartupTest, SetupFailuresShowTheirTextAndExitOne) {
    struct Case {
        const char* name;
        void (*arrange)(ZEL::ScriptedOsLayer&, EngineScript&);
        std::string text;
    };
    const Case cases[] = {
        {"no surface", [](ZEL::ScriptedOsLayer& o, EngineScript&) { o.SetSurfaceCreated(false); },
         "unable to create render target"},
        {"no factory", [](ZEL::ScriptedOsLayer&, EngineScript& e) { e.factoryAvailable = false; },
         "Unable to create ZEL Factory"},
        {"load error",
         [](ZEL::ScriptedOsLayer&, EngineScript& e) { e.loadResult = ZEL::kLogicError; },
         EngineScript().loadError},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ZEL::ScriptedOsLayer scripted;
        EngineScript script;
        c.arrange(scripted, script);
        int code = scripted.RunToExit([&] {
            return ZEL::RunHost(scripted, [&]() -> ZEL::IFactory* {
                return script.factoryAvailable ? new FakeFactory(scripted, script) : nullptr;
            });
        });
        EXPECT_EQ(code, 1);
        const auto& log = scripted.Log();
        ASSERT_GE(log.size(), 2u);
        EXPECT_EQ(log[log.size() - 2], "MessageBox Error: " + c.text);
        EXPECT_EQ(log.back(), "ExitProcess 1");
        EXPECT_EQ(scripted.Count("ShowMainWindow"), 0);
    }
}

TEST_F(HostStartupTest, AudioFailuresExitOneSilentlyAfterTheDocumentLoaded) {
    const bool results[][3] = {{false, true, true}, {true, false, true}, {true, true, false}};
    for (const auto& r : results) {
        ZEL::ScriptedOsLayer scripted;
        EngineScript script;
        scripted.SetMusicResults(r[0], r[1], r[2]);
        int code = scripted.RunToExit([&] {
            return ZEL::RunHost(scripted, [&] { return new FakeFactory(scripted, script); });
        });
        EXPECT_EQ(code, 1);
        EXPECT_EQ(scripted.Count("CreateScenimator data\\vortel\\postprocess.scn"), 1);
        EXPECT_EQ(scripted.Count("ShowMainWindow"), 1);
        EXPECT_EQ(scripted.Count("PeekMessage"), 0);
        EXPECT_EQ(scripted.Count("MusicPlay"), r[0] && r[1] ? 1 : 0);
        EXPECT_EQ(scripted.Log().back(), "ExitProcess 1");
        for (const std::string& entry : scripted.Log()) {
            EXPECT_NE(entry.rfind("MessageBox", 0), 0u) << entry;
        }
    }
}

TEST_F(HostStartupTest, MessagesBeforeTheContextAreIgnoredAndThoseOnShowDraw) {
    os.SendOnCreate(Message::Size(800, 600));
    os.SendOnCreate(Message::Paint());
    os.SendOnShow(Message::Size(790, 570));
    os.SendOnShow(Message::Paint());
    os.Post(Message::KeyDown(ZEL::kKeyEscape));
    EXPECT_EQ(Run(), 0);
    int show = IndexOf("ShowMainWindow");
    int firstResize = IndexOf("Resize 790x570");
    ASSERT_GT(firstResize, show);
    EXPECT_EQ(os.Count("Resize 800x600"), 0);
    EXPECT_GT(IndexOf("BeginDraw"), show);
    // One frame for the size, one for the paint, one for the single pass.
    EXPECT_EQ(os.Count("BeginDraw"), 3);
    EXPECT_EQ(Updates(), 1);
}
