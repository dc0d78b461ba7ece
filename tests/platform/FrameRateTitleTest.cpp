#include <gtest/gtest.h>

#include "Platform/FrameRateTitle.h"
#include "Platform/NativePath.h"
#include "Platform/XftDpi.h"

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

TEST(XftDpiTest, ReadsTheLogicalDpiFromTheResourceString) {
    // As `xrdb -query` prints it, other entries around it.
    EXPECT_EQ(ZEL::ParseXftDpi("Xcursor.size:\t24\nXft.dpi:\t144\nXft.hinting:\t1\n"), 144);
    EXPECT_EQ(ZEL::ParseXftDpi("Xft.dpi: 120.5"), 120.5f);
    EXPECT_EQ(ZEL::ParseXftDpi("Xft.dpi:\t96\nXft.dpi:\t192\n"), 192);  // the last one holds
}

TEST(XftDpiTest, MissingOrUnusableEntriesGiveZero) {
    for (const char* resources : {"", "Xft.hinting:\t1\n", "Xft.dpi:\t\n", "Xft.dpi:\tlarge\n",
                                  "Xft.dpi:\t-96\n", "Xft.dpi:\t0\n", "Xft.dpi:\tnan\n",
                                  "Xft.dpi:\t1e9\n", "Xft.dpi:\t96dpi\n", "Xft.dpix:\t96\n"}) {
        EXPECT_EQ(ZEL::ParseXftDpi(resources), 0) << resources;
    }
}
