#pragma once
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "Core/Factory.h"
#include "FakeClock.h"
#include "FakeMusic.h"
#include "FakeWatcher.h"
#include "FakeWindow.h"
#include "ScratchFolderTest.h"
#include "Viewer/Inspection.h"
#include "Viewer/Viewer.h"

// A viewer on fakes (clock, watcher, music, window) and a factory of its own, playing a
// real document from the fixture's temporary folder.
struct ViewerRig {
    ViewerRig(const std::string& document, float dpi)
        : window(dpi),
          viewer(ZEL::ViewerConfig{document, 0, &out, &err}, factory, clock, watcher, music,
                 window) {}

    // The viewer's frames at 60 fps: the k-th after Start at k*1000/60 ms of the clock.
    void Frames(int count) {
        for (int i = 0; i < count; ++i) {
            ++frames;
            clock.SetUs(kStartUs + frames * 1000000 / 60);
            ASSERT_TRUE(viewer.Frame());
        }
    }
    void Key(ZEL::ViewerKey key, bool shift = false) {
        window.events.push_back(ZEL::ViewerEvent::KeyDown(key, shift));
    }
    // Every variable of the document and its children, as "kid/$name".
    std::vector<ZEL::VariableRow> Variables() {
        std::vector<ZEL::VariableRow> rows;
        if (viewer.Document()) {
            ZEL::Inspection::Variables(*viewer.Document(), &rows);
        }
        return rows;
    }
    float Variable(const std::string& name) {
        for (const auto& row : Variables()) {
            if (row.name == name) {
                return row.value;
            }
        }
        ADD_FAILURE() << "no variable " << name;
        return 0;
    }

    static constexpr uint64_t kStartUs = 1000000;
    uint64_t frames = 0;
    ZEL::Factory factory;
    FakeClock clock;
    FakeWatcher watcher;
    FakeMusic music;
    FakeWindow window;
    std::ostringstream out, err;
    ZEL::Viewer viewer;
};

class ViewerFixture : public ScratchFolderTest {
  protected:
    ViewerFixture() : ScratchFolderTest(WorkIn::Scratch) {}

    // A started viewer of name, still at its load time.
    std::unique_ptr<ViewerRig> Start(const std::string& name, float dpi = 96) {
        auto rig = std::make_unique<ViewerRig>(name, dpi);
        rig->clock.SetUs(ViewerRig::kStartUs);
        rig->viewer.Start();
        return rig;
    }

    static void ExpectSameVariables(ViewerRig& a, ViewerRig& b) {
        const auto left = a.Variables();
        const auto right = b.Variables();
        ASSERT_EQ(left.size(), right.size());
        ASSERT_FALSE(left.empty());
        for (size_t i = 0; i < left.size(); ++i) {
            EXPECT_EQ(left[i].name, right[i].name);
            EXPECT_EQ(left[i].value, right[i].value) << left[i].name;
        }
    }
};

// A parent and a child that use what makes a timeline depend on its path: a trigger that
// starts a child's animation at 290 ms, hand-overs off the frame grid (the child's at 590
// ms, the parent's at 710 ms) and a looping wave started by a hand-over. The
// parent draws a 20x20 square in the colour RGB at ($x, 10), marked for hit tests.
inline std::string Parent(const std::string& rgb = "1 0 0") {
    return "Scenimator{\n"
           "noOfGeometries 1\n"
           "bar Rectangle{ x $x y 10 w 20 h 20 hitTest 1 }\n"
           "noOfBrushes 1\n"
           "paint SolidColorBrush{ Color{ " +
           rgb +
           " 1 } opacity 1 }\n"
           "noOfImages 1\n"
           "pic BitmapFromFile{ img/unused.png }\n"
           "noOfTransforms 0\n"
           "noOfChildZels 1\n"
           "kid Scenimator{ kid.scn noOfArgs 0 }\n"
           "noOfExecutables 1\n"
           "draw Procedure{ noOfCommands 2 CaptureHitTestTransform{ } Fill{ bar paint } }\n"
           "noOfControllers 2\n"
           "slide Linear{ target $x begin 0 end 710 loops 0 beginValue 0 endValue 100 "
           "noOfChildren 1 Trigger{ begin 290 targetZel kid targetAnimation run noOfChildren 0 } "
           "}\n"
           "wave Sinusoidal{ target $x begin 0 end 1000 loops 1 dc 50 amplitude 40 frequency 1 "
           "phase 0 noOfChildren 0 }\n"
           "noOfAnimations 2\n"
           "MainAnim Animation{ renderFunction draw controller slide transitionTarget second }\n"
           "second Animation{ renderFunction draw controller wave transitionTarget second }\n"
           "}\n";
}

inline std::string Kid() {
    return "Scenimator{\n"
           "noOfGeometries 1\n"
           "v Rectangle{ x $c y 0 w 0 h 0 hitTest 0 }\n"
           "noOfBrushes 0\nnoOfImages 0\nnoOfTransforms 0\nnoOfChildZels 0\n"
           "noOfExecutables 0\n"
           "noOfControllers 2\n"
           "idle Const{ target $c begin 0 end 1000 loops 1 value -1 noOfChildren 0 }\n"
           "count Linear{ target $c begin 0 end 300 loops 0 beginValue 0 endValue 300 "
           "noOfChildren 0 }\n"
           "noOfAnimations 2\n"
           "MainAnim Animation{ renderFunction null controller idle transitionTarget MainAnim }\n"
           "run Animation{ renderFunction null controller count transitionTarget MainAnim }\n"
           "}\n";
}
