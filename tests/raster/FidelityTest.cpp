#include <gtest/gtest.h>

#include <iostream>
#include <string>
#include <vector>

#include "Fidelity.h"
#include "FrameDifference.h"
#include "Frames.h"
#include "ScratchFolderTest.h"

// Antialiased edges against exact area coverage (the frame drawn 8 times larger and
// averaged): every engine mode no further from it than Cairo's own edges on the same frame,
// and at most 0.1 % of the pixels off by more than 32. Measured on the middle of the frame of
// the scenes made of edges, at a moment when they have moved by a fraction of a pixel.

namespace {

constexpr uint32_t kMoment = 1234;  // ms: 4.6 x 2.8 pixels into the sweep
const Bench::Region kMiddle{280, 210, 240, 180};

class Fidelity : public ScratchFolderTest {
  protected:
    void SetUp() override {
        ScratchFolderTest::SetUp();
        Bench::WriteBitmap((m_Dir / "bitmap.png").string());
    }

    Bench::Scene SceneNamed(const std::string& name) {
        for (const Bench::Scene& s : Bench::MakeScenes())
            if (s.name == name)
                return s;
        ADD_FAILURE() << "no scene " << name;
        return {};
    }

    // The middle of the scene's frame at kMoment as the mode draws it, measured against
    // the mode's exact reference.
    Bench::Deviation Measured(const Bench::Scene& scene, const Bench::EngineMode& mode) {
        Bench::Player player(Bench::WriteDocument(scene, m_Dir), mode.options);
        player.Draw(kMoment);
        const Bench::Frame frame =
            player.Pixels().Crop(kMiddle.left, kMiddle.top, kMiddle.width, kMiddle.height);
        const Bench::Frame exact =
            Bench::ExactFrame(scene, kMoment, kMiddle, m_Dir, Bench::kExactScale, mode.reference);
        return Bench::Measure(frame.pixels, exact.pixels);
    }
};

std::string Describe(const std::string& name, const Bench::Deviation& d) {
    return name + ": mean " + std::to_string(d.mean) + ", over 8 " +
           std::to_string(d.OverEightPercent()) + " %, over 32 " +
           std::to_string(d.OverThirtyTwoPercent()) + " %, largest " + std::to_string(d.max);
}

// The reference's placement: drawn at scale 1 in tiles, it is the frame drawn directly, so
// at scale 8 it differs from the frame only by coverage.
TEST_F(Fidelity, TheReferenceAtScaleOneIsTheFrameDrawnDirectly) {
    const Bench::Scene scene = SceneNamed("bezier_paths_moving");
    Bench::Player direct(Bench::WriteDocument(scene, m_Dir), Bench::CairoDirect());
    direct.Draw(kMoment);
    // The whole frame, so that tiles meet inside it.
    const Bench::Frame tiled = Bench::ExactFrame(scene, kMoment, Bench::Region{}, m_Dir, 1);
    // The tiles' offsets round differently in single precision, and a shift of 1e-5 pixel
    // can carry an edge across one of Cairo's 15 sample rows (16 levels): a few pixels.
    const Bench::Difference d = Bench::Compare(direct.Pixels().pixels, tiled.pixels);
    EXPECT_LE(d.max, 17);
    EXPECT_LE(d.overTwo * 10000, d.pixels) << d.overTwo << " pixels off by more than 2";

    // Moved by a pixel it is plainly not the frame.
    Bench::Scene moved = scene;
    moved.moving = false;
    double dx, dy;
    Bench::MoveAt(kMoment, &dx, &dy);
    moved.offsetX = dx + 1, moved.offsetY = dy;
    const Bench::Frame shifted = Bench::ExactFrame(moved, 0, Bench::Region{}, m_Dir, 1);
    EXPECT_GT(Bench::Compare(direct.Pixels().pixels, shifted.pixels).max, 100);
}

TEST_F(Fidelity, EdgesAreAsCloseToExactCoverageAsCairosOnEveryKindOfEdge) {
    const std::vector<Bench::EngineMode> modes = Bench::FidelityModes();
    const Bench::EngineMode* baseline = nullptr;
    for (const Bench::EngineMode& m : modes)
        if (m.baseline)
            baseline = &m;
    ASSERT_NE(baseline, nullptr);
    for (const char* name :
         {"ellipses_moving", "ellipses_alpha_moving", "bezier_paths_moving", "text_moving"}) {
        const Bench::Scene scene = SceneNamed(name);
        const Bench::Deviation cairo = Measured(scene, *baseline);
        // Cairo's own edges are near exact coverage, but not on it.
        EXPECT_GT(cairo.overEight, 0u) << name;
        EXPECT_LT(cairo.mean, 1.0) << name;
        for (const Bench::EngineMode& mode : modes) {
            if (mode.baseline)
                continue;
            const Bench::Deviation d = Measured(scene, mode);
            const Bench::Bar bar = Bench::Judge(d, cairo);
            const std::string what = std::string(name) + "\n" + Describe(mode.name, d) + "\n" +
                                     Describe(baseline->name, cairo);
            EXPECT_TRUE(bar.mean) << what;
            EXPECT_TRUE(bar.overEight) << what;
            EXPECT_TRUE(bar.overThirtyTwo) << what;
            std::cout << what << "\n";
        }
    }
}

}  // namespace
