#include <gtest/gtest.h>

#include "HostFixture.h"

using ZEL::Message;

using HostFrameErrorTest = HostFixture;

namespace {
const Message kEscape = Message::KeyDown(ZEL::kKeyEscape);
}

TEST_F(HostFrameErrorTest, EngineErrorOnTheFirstUpdateShowsItsTextAndExitsOne) {
    engine.updateFailsAt = 1;
    EXPECT_EQ(Run(), 1);
    std::vector<std::string> tail(os.Log().end() - 3, os.Log().end());
    EXPECT_EQ(tail, (std::vector<std::string>{"Update", "MessageBox Error: " + engine.documentError,
                                              "ExitProcess 1"}));
    EXPECT_FALSE(Logged("BeginDraw"));
    EXPECT_FALSE(Logged("MusicStop"));
}

TEST_F(HostFrameErrorTest, RenderFailureShowsTheDocumentsText) {
    engine.renderFailsAt = 3;
    os.Post(kEscape, 10);
    EXPECT_EQ(Run(), 1);
    EXPECT_EQ(Updates(), 3);
    EXPECT_TRUE(Logged("MessageBox Error: " + engine.documentError));
    EXPECT_EQ(os.Count("EndDraw"), 2);
}

TEST_F(HostFrameErrorTest, EndDrawFailureIsARenderingError) {
    os.SurfaceConfig().endDrawResult = Gfx::kWrongState;
    EXPECT_EQ(Run(), 1);
    EXPECT_TRUE(Logged("MessageBox Error: Rendering Error"));
    EXPECT_FALSE(Logged("Present"));
}

TEST_F(HostFrameErrorTest, ResizeFailureIsAResizeError) {
    os.SurfaceConfig().resizeResult = Gfx::kOutOfMemory;
    os.Post(Message::Size(640, 480), 2);
    EXPECT_EQ(Run(), 1);
    EXPECT_EQ(Updates(), 1);
    EXPECT_TRUE(Logged("MessageBox Error: Resize Error"));
}
