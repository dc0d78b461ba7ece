#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "FrameDifference.h"
#include "Gfx/Raster/FrameRasterizer.h"
#include "Gfx/RenderTarget.h"
#include "RasterModes.h"

// Layers (runs of calls kept as pixels from one frame to the next) are held to a budget per
// target: old layers make room for new ones, a frame that wants more than the budget draws
// the rest at once, and whatever goes, every frame still shows what direct drawing shows.

namespace {

using namespace RasterTest;

constexpr size_t kBudget = Gfx::FrameRasterizer::kLayerBudget;

std::shared_ptr<Gfx::Geometry> Box(float l, float t, float r, float b) {
    std::shared_ptr<Gfx::Geometry> g;
    EXPECT_EQ(Gfx::CreateRectangleGeometry({l, t, r, b}, &g), Gfx::kOk);
    return g;
}

// A translucent colour of its own for each index.
std::shared_ptr<Gfx::SolidColorBrush> Tint(int i) {
    return std::make_shared<Gfx::SolidColorBrush>(
        Gfx::ColorF{(i * 37 % 100) / 100.0f, (i * 61 % 100) / 100.0f, (i * 83 % 100) / 100.0f,
                    0.5f},
        Gfx::BrushProperties{});
}

// Two calls that together cover a whole target of width x height: a layer of theirs holds
// every pixel of it.
struct Pair {
    std::shared_ptr<Gfx::Geometry> top, bottom;
    std::shared_ptr<Gfx::SolidColorBrush> brush;

    Pair(uint32_t width, uint32_t height, int i)
        : top(Box(0, 0, width, height / 2.0f)),
          bottom(Box(0, height / 2.0f, width, height)),
          brush(Tint(i)) {}
    void Draw(Gfx::RenderTarget& t) const {
        t.FillGeometry(*top, *brush);
        t.FillGeometry(*bottom, *brush);
    }
};

::testing::AssertionResult LikeDirect(Gfx::RenderTarget& t, Gfx::RenderTarget& direct) {
    const Bench::Difference d = Bench::Compare(PixelsOf(t), PixelsOf(direct));
    if (d.Tolerable())
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "against direct drawing: max " << d.max << ", " << d.overTwo << " pixels over 2";
}

// Frame n draws pair n, then pair n + 1. Pair n + 1 was in the last frame, so each frame
// makes a new 9 MiB layer of it, and no frame wants an older one again: without eviction
// 11 frames would hold 99 MiB.
TEST(LayerBudget, HoldsWhileEveryFrameMakesANewLayer) {
    constexpr uint32_t kSide = 1536;  // 9 MiB of pixels
    constexpr int kFrames = 12;
    std::vector<Pair> pairs;
    for (int i = 0; i <= kFrames; ++i) pairs.emplace_back(kSide, kSide, i);
    const auto draw = [&pairs](Gfx::RenderTarget& t, int frame) {
        t.BeginDraw();
        t.Clear({1, 1, 1, 1});
        pairs[frame].Draw(t);
        pairs[frame + 1].Draw(t);
        EXPECT_EQ(t.EndDraw(), Gfx::kOk);
    };
    auto direct = TargetIn(Direct(), kSide, kSide);
    auto t = TargetIn(Recorded(2, true, true), kSide, kSide);
    ASSERT_TRUE(direct && t);
    size_t made = 0, most = 0;
    for (int frame = 0; frame < kFrames; ++frame) {
        draw(*t, frame);
        draw(*direct, frame);
        const Gfx::RasterStats& stats = t->GetRasterStats();
        made += stats.layersMade;
        most = std::max(most, stats.layerBytes);
        if (frame > 0) {
            EXPECT_EQ(stats.layersMade, 1u) << "frame " << frame;
        }
        EXPECT_LE(stats.layerBytes, kBudget)
            << "frame " << frame << ", " << stats.layers << " layers";
        ASSERT_TRUE(LikeDirect(*t, *direct)) << "frame " << frame;
    }
    EXPECT_GE(made * size_t{kSide} * kSide * 4, kBudget * 3 / 2)
        << "too few layers made to test the budget";
    EXPECT_GT(most, kBudget / 2) << "the layers were never near the budget";
}

// Five runs of 15 MiB each come back in one frame: 75 MiB wanted at once. Layers that this
// frame draws from must not be evicted to make room for another; what does not fit is drawn
// at once.
TEST(LayerBudget, AFrameThatWantsMoreThanTheBudgetDrawsTheRestAtOnce) {
    constexpr uint32_t kWidth = 2048, kHeight = 1920;  // 15 MiB of pixels
    constexpr int kRuns = 5;
    std::vector<Pair> pairs;
    for (int i = 0; i < kRuns; ++i) pairs.emplace_back(kWidth, kHeight, i);
    const auto dot = Box(0, 0, 8, 8);
    const auto black =
        std::make_shared<Gfx::SolidColorBrush>(Gfx::ColorF{0, 0, 0, 1}, Gfx::BrushProperties{});
    // Each run followed by a dot that moves every frame, so the runs stay apart.
    const auto draw = [&](Gfx::RenderTarget& t, int frame) {
        t.BeginDraw();
        t.Clear({1, 1, 1, 1});
        for (int i = 0; i < kRuns; ++i) {
            pairs[i].Draw(t);
            t.SetTransform(Gfx::Matrix3x2::Translation(20.0f * frame, 20.0f * i));
            t.FillGeometry(*dot, *black);
            t.SetTransform({});
        }
        EXPECT_EQ(t.EndDraw(), Gfx::kOk);
    };
    auto direct = TargetIn(Direct(), kWidth, kHeight);
    auto t = TargetIn(Recorded(2, true, true), kWidth, kHeight);
    ASSERT_TRUE(direct && t);
    size_t fromLayers = 0;
    for (int frame = 0; frame < 4; ++frame) {
        draw(*t, frame);
        draw(*direct, frame);
        const Gfx::RasterStats& stats = t->GetRasterStats();
        fromLayers += stats.opsFromLayers;
        EXPECT_LE(stats.layerBytes, kBudget) << "frame " << frame;
        ASSERT_TRUE(LikeDirect(*t, *direct)) << "frame " << frame;
    }
    EXPECT_GT(fromLayers, 0u) << "no layer was used: the case tests nothing";
}

}  // namespace
