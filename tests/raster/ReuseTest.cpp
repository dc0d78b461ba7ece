#include <filesystem>
#include <fstream>

#include "RasterSupport.h"
#include "ScratchFolderTest.h"

namespace {

using namespace RasterTest;

// What is kept from one frame to the next must never outlive the change that makes it
// wrong: each case plays a document in the fastest mode and in the reference mode side by
// side, and every frame must match within rounding, while layers are really in use.
class ReuseTest : public ScratchFolderTest {
  protected:
    // Plays both from 0 in 16 ms steps up to (but not including) end; after each frame
    // check(frame index) may look at the fast player.
    template <typename Check>
    void PlayBoth(const std::string& path, uint32_t end, Check check) {
        Player fast(path, Recorded(2, true, true), 200, 200, 96);
        Player reference(path, Direct(), 200, 200, 96);
        m_Reused = 0;
        for (uint32_t t = 0, frame = 0; t < end; t += 16, ++frame) {
            check(frame, fast, reference);
            const Difference d = Compare(fast.Frame(t), reference.Frame(t));
            ASSERT_TRUE(d.Tolerable()) << "at " << t << " ms: max " << d.max;
            const Gfx::RasterStats& stats = fast.Target().GetRasterStats();
            m_Reused += stats.opsFromLayers > 0 || stats.frameReused;
        }
        EXPECT_GT(m_Reused, 2u) << "nothing was reused: the case tests nothing";
    }

    size_t m_Reused = 0;  // frames that took something from an earlier one
};

const char* kBrushes =
    "noOfBrushes 3\nred SolidColorBrush{ Color{ 1 0 0 1 } opacity 1 }\n"
    "blue SolidColorBrush{ Color{ 0 0 1 1 } opacity 1 }\n"
    "fade SolidColorBrush{ Color{ 0 0.6 0 1 } opacity $o }\n";

// Static shapes around one whose width and one whose opacity follow controllers: the
// static runs become layers, the changing ones must still change every frame.
TEST_F(ReuseTest, VariablesChangeWhatTheyTouchEvenBetweenCachedRuns) {
    // The triangle's apex moves inside its bounds: only its new path tells it changed.
    const std::string doc = std::string("Scenimator{\nnoOfGeometries 6\n") +
                            "tri Path{ noOfFigures 1 Figure{ startPoint Point{ 10 190 } closed 1 "
                            "noOfSegments 3 Line{ to Point{ $m 150 } } Line{ to Point{ 190 190 } } "
                            "Line{ to Point{ 100 150 } } } hitTest 0 }\n" +
                            "a Ellipse{ center Point{ 50 50 } radiusX 40 radiusY 30 hitTest 0 }\n"
                            "b Rectangle{ x 20 y 90 w 160 h 20 hitTest 0 }\n"
                            "grow Rectangle{ x 10 y 40 w $w h 60 hitTest 0 }\n"
                            "c Ellipse{ center Point{ 150 150 } radiusX 40 radiusY 30 hitTest 0 }\n"
                            "d Rectangle{ x 60 y 120 w 80 h 70 hitTest 0 }\n" +
                            kBrushes +
                            "noOfImages 0\nnoOfTransforms 0\nnoOfChildZels 0\nnoOfExecutables 1\n"
                            "draw Procedure{ noOfCommands 7 Fill{ a red } Fill{ b blue } "
                            "Fill{ grow red } Fill{ c blue } Fill{ tri blue } Fill{ d fade } "
                            "Fill{ c red } }\n"
                            "noOfControllers 1\nc Const{ target null begin 0 end 2000 loops 1 "
                            "value 0 noOfChildren 3 "
                            "Linear{ target $m begin 1000 end 1100 loops 0 beginValue 20 endValue "
                            "180 noOfChildren 0 } "
                            "Linear{ target $w begin 200 end 600 loops 0 beginValue 10 endValue "
                            "180 noOfChildren 0 } "
                            "Linear{ target $o begin 700 end 900 loops 0 beginValue 1 endValue "
                            "0.2 noOfChildren 0 } }\n"
                            "noOfAnimations 1\nMainAnim Animation{ renderFunction draw "
                            "controller c transitionTarget MainAnim }\n}\n";
    PlayBoth(Write("vars.scn", doc), 1300, [](uint32_t, Player&, Player&) {});
}

// A child document drawn among static shapes changes when its parent sets its variable,
// and an animation hands over to another that draws other static shapes.
TEST_F(ReuseTest, ChildDocumentsAndHandOversReplaceWhatWasCached) {
    const std::string kid =
        Write("kid.scn",
              "Scenimator{\nnoOfGeometries 1\nbox Rectangle{ x 0 y 0 w $size h $size hitTest 0 }\n"
              "noOfBrushes 1\nink SolidColorBrush{ Color{ 0.2 0.2 0.8 1 } opacity 1 }\nnoOfImages "
              "0\nnoOfTransforms 0\nnoOfChildZels 0\nnoOfExecutables 1\ndraw Procedure{ "
              "noOfCommands 1 Fill{ box ink } }\nnoOfControllers 0\nnoOfAnimations 1\nMainAnim "
              "Animation{ renderFunction draw controller null transitionTarget null }\n}\n");
    const std::string doc =
        std::string("Scenimator{\nnoOfGeometries 3\n") +
        "a Ellipse{ center Point{ 60 60 } radiusX 50 radiusY 40 hitTest 0 }\n"
        "b Rectangle{ x 100 y 100 w 90 h 90 hitTest 0 }\n"
        "c Ellipse{ center Point{ 140 60 } radiusX 50 radiusY 40 hitTest 0 }\n" +
        kBrushes +
        "noOfImages 0\nnoOfTransforms 0\nnoOfChildZels 1\n"
        "kid Scenimator{ " +
        kid +
        " noOfArgs 1 $size 20 }\n"
        "noOfExecutables 2\nfirst Procedure{ noOfCommands 6 Fill{ a red } "
        "Fill{ c blue } SetZelVar{ kid $size $s } RenderZel{ kid } "
        "Fill{ b blue } Fill{ a blue } }\n"
        "second Procedure{ noOfCommands 5 Fill{ c blue } Fill{ a red } "
        "RenderZel{ kid } Fill{ b red } Fill{ c red } }\n"
        "noOfControllers 2\ngrow Const{ target null begin 0 end 800 loops 0 "
        "value 0 noOfChildren 1 Linear{ target $s begin 300 end 400 loops 0 "
        "beginValue 20 endValue 120 noOfChildren 0 } }\n"
        "hold Const{ target null begin 0 end 5000 loops 0 value 0 "
        "noOfChildren 0 }\n"
        "noOfAnimations 2\nMainAnim Animation{ renderFunction first "
        "controller grow transitionTarget next }\n"
        "next Animation{ renderFunction second controller hold "
        "transitionTarget null }\n}\n";
    PlayBoth(Write("parent.scn", doc), 1400, [](uint32_t, Player&, Player&) {});
}

// A resize drops every layer: the next frame is drawn whole at the new size.
TEST_F(ReuseTest, ResizeDropsTheLayers) {
    const std::string doc = std::string("Scenimator{\nnoOfGeometries 2\n") +
                            "a Ellipse{ center Point{ 60 60 } radiusX 50 radiusY 40 hitTest 0 }\n"
                            "b Rectangle{ x 100 y 100 w 90 h 90 hitTest 0 }\n" +
                            kBrushes +
                            "noOfImages 0\nnoOfTransforms 0\nnoOfChildZels 0\nnoOfExecutables 1\n"
                            "draw Procedure{ noOfCommands 2 Fill{ a red } Fill{ b blue } }\n"
                            "noOfControllers 0\nnoOfAnimations 1\nMainAnim Animation{ "
                            "renderFunction draw controller null transitionTarget null }\n}\n";
    PlayBoth(Write("resize.scn", doc), 320, [](uint32_t frame, Player& fast, Player& reference) {
        if (frame == 10) {
            ASSERT_EQ(fast.Target().Resize(150, 120), Gfx::kOk);
            ASSERT_EQ(reference.Target().Resize(150, 120), Gfx::kOk);
        }
        if (frame == 11) {  // the stats of the frame drawn at the new size
            EXPECT_FALSE(fast.Target().GetRasterStats().frameReused);
            EXPECT_EQ(fast.Target().GetRasterStats().layers, 0u);
        }
    });
}

}  // namespace
