#include <gtest/gtest.h>

#include "Platform/FrameRateTitle.h"
#include "Platform/NativePath.h"

TEST(FrameRateTitleTest, WritesTheRateInDefaultStreamFormat) {
    const std::string prefix = "Ombrelune: Current Frame Rate (fps) = ";
    EXPECT_EQ(ZEL::FrameRateTitle(16), prefix + "62.5");
    EXPECT_EQ(ZEL::FrameRateTitle(17), prefix + "58.8235");
    EXPECT_EQ(ZEL::FrameRateTitle(15), prefix + "66.6667");
    EXPECT_EQ(ZEL::FrameRateTitle(1), prefix + "1000");
    EXPECT_EQ(ZEL::FrameRateTitle(0), prefix + "inf");
    // A clock read out of order gives a negative span, not a huge one.
    EXPECT_EQ(ZEL::FrameRateTitle(-8), prefix + "-125");
}

TEST(NativePathTest, BackslashesOpenAsSlashes) {
    EXPECT_EQ(ZEL::ToNativePath("data\\vortel\\postprocess.scn"), "data/vortel/postprocess.scn");
    EXPECT_EQ(ZEL::ToNativePath("data/music/duskwave.mp3"), "data/music/duskwave.mp3");
}
