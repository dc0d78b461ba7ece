#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "Core/Factory.h"
#include "Core/Scenimator.h"
#include "Gfx/RenderTarget.h"
#include "RasterSupport.h"
#include "Scene.h"

// Every way of turning a frame into pixels gives the frame that drawing each call at once
// on one thread gives (text covered as paths in both; glyph masks are held to exact coverage
// by the fidelity tests): exactly for recording, but for the operations whose last bit Cairo
// makes depend on where a clip starts (scaled images, its own gradients), which recording
// draws in fixed tiles and which may then differ by 1; within a rounding tolerance for
// gradient spans and cached layers (at most 8 in a channel, and more than 2 in at most 0.5 %
// of the pixels). Any number of threads gives exactly what one thread gives.

namespace {

using namespace RasterTest;

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
constexpr int kShowStepMs = 500;  // the sanitizers run many times slower
#else
constexpr int kShowStepMs = 100;
#endif

class RasterEquivalence : public ::testing::Test {
  protected:
    void SetUp() override {
        m_Dir =
            std::filesystem::temp_directory_path() / ("zel_raster_" + std::to_string(::getpid()));
        std::filesystem::create_directories(m_Dir);
        m_Bitmap = (m_Dir / "bitmap.png").string();
        std::shared_ptr<Gfx::RenderTarget> t;
        ASSERT_EQ(Gfx::RenderTarget::Create(Bench::kBitmapSide, Bench::kBitmapSide, 96, &t),
                  Gfx::kOk);
        t->BeginDraw();
        t->Clear(Gfx::ColorF{0.9f, 0.5f, 0.2f, 0.6f});
        t->EndDraw();
        ASSERT_EQ(t->WritePng(m_Bitmap), Gfx::kOk);
    }
    void TearDown() override { std::filesystem::remove_all(m_Dir); }

    std::string Write(const Bench::Scene& scene) {
        const std::string path = (m_Dir / (scene.name + ".scn")).string();
        std::ofstream(path) << Bench::ToDocument(scene, m_Bitmap);
        return path;
    }

    std::filesystem::path m_Dir;
    std::string m_Bitmap;
};

// Recording and banding change nothing; gradient spans and layers change only rounding.
TEST_F(RasterEquivalence, EveryBenchmarkSceneInEveryMode) {
    for (const Bench::Scene& scene : Bench::MakeScenes()) {
        SCOPED_TRACE(scene.name);
        const std::string path = Write(scene);
        Player reference(path, Direct(), 800, 600, 96);
        Player recorded(path, Recorded(1, false, false), 800, 600, 96);
        Player banded(path, Recorded(3, false, false), 800, 600, 96);
        Player spans(path, Recorded(1, true, false), 800, 600, 96);
        Player spansBanded(path, Recorded(3, true, false), 800, 600, 96);
        Player reusedOne(path, Recorded(1, true, true), 800, 600, 96);
        Player reused(path, Recorded(3, true, true), 800, 600, 96);
        for (int frame = 0; frame < 4; ++frame) {
            const uint32_t t = static_cast<uint32_t>(frame * 1000 / 60);
            const auto expected = reference.Frame(t);
            const auto one = recorded.Frame(t);
            const Difference rounding = Compare(one, expected);
            EXPECT_TRUE(rounding.Rounding())
                << "recorded, frame " << frame << ": max " << rounding.max;
            ASSERT_TRUE(Identical(banded.Frame(t), one, 800)) << "banded, frame " << frame;
            const auto fast = spans.Frame(t);
            ASSERT_TRUE(Identical(spansBanded.Frame(t), fast, 800))
                << "gradient spans banded, frame " << frame;
            const auto reusedFrame = reused.Frame(t);
            ASSERT_TRUE(Identical(reusedFrame, reusedOne.Frame(t), 800))
                << "reused banded, frame " << frame;
            const Difference d = Compare(fast, expected);
            EXPECT_TRUE(d.Tolerable())
                << "gradient spans: max " << d.max << ", " << d.overTwo << " pixels over 2";
            const Difference r = Compare(reusedFrame, expected);
            EXPECT_TRUE(r.Tolerable()) << "reused, frame " << frame << ": max " << r.max << ", "
                                       << r.overTwo << " pixels over 2";
        }
    }
}

// The whole show, at 400x300 so that it stays quick, in every mode at once.
TEST_F(RasterEquivalence, TheShowFromStartToEnd) {
    const std::string show = "data/vortel/postprocess.scn";
    Player reference(show, Direct(), 400, 300, 48);
    Player recorded(show, Recorded(1, false, false), 400, 300, 48);
    Player banded(show, Recorded(3, false, false), 400, 300, 48);
    Player spans(show, Recorded(1, true, false), 400, 300, 48);
    Player spansBanded(show, Recorded(3, true, false), 400, 300, 48);
    Player full(show, Recorded(3, true, true), 400, 300, 48);
    Player engine(show, Gfx::RasterOptions{}, 400, 300, 48);  // glyph masks too
    Gfx::RasterOptions cairo = Direct();
    cairo.ownEdges = false;
    Player today(show, cairo, 400, 300, 48);  // every edge and image as Cairo draws it
    Difference worst, worstGlyphs;
    double mostMoved = 0;
    size_t maxLayerBytes = 0, maxLayers = 0;
    for (uint32_t t = 0; t <= 154000; t += kShowStepMs) {
        const auto expected = reference.Frame(t);
        const auto one = recorded.Frame(t);
        const Difference rounding = Compare(one, expected);
        ASSERT_TRUE(rounding.Rounding()) << "recorded at " << t << " ms: max " << rounding.max;
        ASSERT_TRUE(Identical(banded.Frame(t), one, 400)) << "banded at " << t << " ms";
        const auto fast = spans.Frame(t);
        ASSERT_TRUE(Identical(spansBanded.Frame(t), fast, 400))
            << "gradient spans banded at " << t << " ms";
        const auto reused = full.Frame(t);
        // Text from glyph masks, filled and stroked: within the 1/32 pixel the masks may
        // be placed off by, of text covered as paths.
        const auto drawn = engine.Frame(t);
        const Difference g = Compare(drawn, reused);
        ASSERT_LE(g.max, 32) << "glyph masks at " << t << " ms";
        ASSERT_LE(g.overTwo * 100, g.pixels) << "glyph masks at " << t << " ms";
        worstGlyphs.max = std::max(worstGlyphs.max, g.max);
        // Against the frame as Cairo draws it: only edges move, by their coverage.
        const Bench::Deviation moved = Bench::Measure(drawn, today.Frame(t));
        ASSERT_LE(moved.OverSixteenPercent(), 1.0) << "edges moved too far at " << t << " ms";
        mostMoved = std::max(mostMoved, moved.OverSixteenPercent());
        maxLayerBytes = std::max(maxLayerBytes, full.Target().GetRasterStats().layerBytes);
        maxLayers = std::max(maxLayers, full.Target().GetRasterStats().layers);
        for (const auto* frame : {&fast, &reused}) {
            const Difference d = Compare(*frame, expected);
            ASSERT_TRUE(d.Tolerable())
                << (frame == &fast ? "gradient spans" : "reused") << " at " << t << " ms: max "
                << d.max << ", " << d.overTwo << " pixels over 2";
            worst.max = std::max(worst.max, d.max);
            worst.overTwo = std::max(worst.overTwo, d.overTwo);
        }
    }
    // The layers never hold more than a few frames' worth, and never pass their budget.
    EXPECT_LE(maxLayerBytes, size_t{64} << 20);
    EXPECT_LE(maxLayers, 24u);
    RecordProperty("most_layer_bytes", static_cast<int>(maxLayerBytes));
    RecordProperty("worst_channel_difference", worst.max);
    RecordProperty("most_pixels_over_2", static_cast<int>(worst.overTwo));
    RecordProperty("glyph_masks_worst_channel_difference", worstGlyphs.max);
    RecordProperty("most_pixels_over_16_against_cairo_per_mille", static_cast<int>(mostMoved * 10));
}

}  // namespace
