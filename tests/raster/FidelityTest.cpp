#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Fidelity.h"
#include "FrameDifference.h"
#include "Frames.h"
#include "OperationFrame.h"
#include "ScratchFolderTest.h"

// Antialiased edges against exact area coverage: every engine mode no further from it than
// Cairo's own edges on the same frame, and at most 0.1 % of the pixels off by more than 32.
// Measured on the middle of the frame of the scenes made of edges, at a moment when they have
// moved by a fraction of a pixel, against each operation covered exactly (drawn 8 times larger
// and averaged, alone) and blended in order. The frame drawn 8 times larger as a whole mixes
// shapes whose edges share a pixel sample by sample, which no renderer that blends operation
// by operation does: on the overlapping ellipses that alone puts 0.1 % of the pixels more than
// 32 off it, for Cairo and for exact coverage alike.

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

    // The middle of the scene's frame at kMoment as the mode draws it.
    Bench::Frame Middle(const Bench::Scene& scene, const Gfx::RasterOptions& options) {
        Bench::Player player(Bench::WriteDocument(scene, m_Dir), options);
        player.Draw(kMoment);
        return player.Pixels().Crop(kMiddle.left, kMiddle.top, kMiddle.width, kMiddle.height);
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

// Blended operation by operation at scale 1, the reference is Cairo's own frame: the same
// coverage, colours and rounding, shape after shape, stroke over fill.
TEST_F(Fidelity, OperationsBlendedAtScaleOneAreCairosFrame) {
    for (const char* name : {"ellipses_alpha_moving", "bezier_paths_moving", "text_moving"}) {
        const Bench::Scene scene = SceneNamed(name);
        const Bench::Frame blended = Bench::OperationFrame(scene, kMoment, kMiddle, m_Dir, 1);
        const Bench::Deviation d =
            Bench::Measure(Middle(scene, Bench::CairoDirect()).pixels, blended.pixels);
        // Coverage read back from a drawing rounds once more: 2 at most, and rarely.
        EXPECT_LE(d.max, 2) << name;
        EXPECT_LE(d.mean, 0.01) << name;
    }
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
        const Bench::Frame exact = Bench::OperationFrame(scene, kMoment, kMiddle, m_Dir);
        const Bench::Deviation cairo =
            Bench::Measure(Middle(scene, baseline->options).pixels, exact.pixels);
        // Cairo's own edges are near exact coverage, but not on it.
        EXPECT_GT(cairo.overEight, 0u) << name;
        EXPECT_LT(cairo.mean, 1.0) << name;
        for (const Bench::EngineMode& mode : modes) {
            if (mode.baseline)
                continue;
            const Bench::Deviation d =
                Bench::Measure(Middle(scene, mode.options).pixels, exact.pixels);
            const Bench::Bar bar = Bench::Judge(d, cairo);
            const std::string what = std::string(name) + "\n" + Describe(mode.name, d) + "\n" +
                                     Describe(baseline->name, cairo);
            EXPECT_TRUE(bar.mean) << what;
            EXPECT_TRUE(bar.overEight) << what;
            EXPECT_TRUE(bar.overThirtyTwo) << what;
        }
    }
}

}  // namespace
