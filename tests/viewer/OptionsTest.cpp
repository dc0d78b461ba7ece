// The command line and the title.
#include <gtest/gtest.h>

#include <vector>

#include "Viewer/ViewerOptions.h"
#include "Viewer/ViewerTitle.h"

namespace {

ZEL::ParseOutcome Parse(std::vector<const char*> args, ZEL::ViewerOptions* options,
                        std::string* problem) {
    args.insert(args.begin(), "zelview");
    return ZEL::ParseViewerOptions(static_cast<int>(args.size()), args.data(), options, problem);
}

TEST(OptionsTest, ReadsEveryOption) {
    ZEL::ViewerOptions o;
    std::string problem;
    ASSERT_EQ(Parse({"--music", "m.mp3", "--start", "4294967295", "--dpi", "120", "--size",
                     "640x480", "show.scn"},
                    &o, &problem),
              ZEL::ParseOutcome::Run)
        << problem;
    EXPECT_EQ(o.document, "show.scn");
    EXPECT_EQ(o.music, "m.mp3");
    EXPECT_EQ(o.startMs, 4294967295u);
    EXPECT_EQ(o.dpi, 120.0f);
    EXPECT_EQ(o.widthDips, 640u);
    EXPECT_EQ(o.heightDips, 480u);
}

TEST(OptionsTest, RefusesWhatCannotBeRunAndSaysWhy) {
    const std::vector<std::pair<std::vector<const char*>, std::string>> cases = {
        {{}, "no document"},
        {{"a.scn", "b.scn"}, "only one document"},
        {{"--start", "-1", "a.scn"}, "--start takes a time in milliseconds: -1"},
        {{"--start", "4294967296", "a.scn"}, "--start takes a time in milliseconds: 4294967296"},
        {{"--dpi", "23", "a.scn"}, "--dpi takes 24 to 960: 23"},
        {{"--size", "0x10", "a.scn"}, "--size takes WxH, 1 to 16384 a side: 0x10"},
        {{"--size", "800", "a.scn"}, "--size takes WxH, 1 to 16384 a side: 800"},
        {{"a.scn", "--music"}, "--music needs a value"},
        {{"--loop", "a.scn"}, "unknown option --loop"},
    };
    for (const auto& c : cases) {
        ZEL::ViewerOptions o;
        std::string problem;
        EXPECT_EQ(Parse(c.first, &o, &problem), ZEL::ParseOutcome::Bad) << c.second;
        EXPECT_EQ(problem, c.second);
    }
    ZEL::ViewerOptions o;
    std::string problem;
    EXPECT_EQ(Parse({"a.scn", "--help"}, &o, &problem), ZEL::ParseOutcome::Help);
}

TEST(OptionsTest, TitleNamesTheFileTheTimeAndTheRate) {
    EXPECT_EQ(ZEL::ViewerTitle("data/vortel/postprocess.scn", 12.34, 59.6, false),
              "postprocess.scn - 12.3 s - 60 fps");
    EXPECT_EQ(ZEL::ViewerTitle("show.scn", 0.05, 0, true), "show.scn - 0.1 s - 0 fps - paused");
}

}  // namespace
