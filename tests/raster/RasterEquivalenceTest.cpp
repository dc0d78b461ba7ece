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
#include "Scene.h"

// Every way of turning a frame into pixels gives the frame that drawing each call at once
// on one thread gives: exactly for recording, but for the operations whose last bit Cairo
// makes depend on where a clip starts (scaled images, its own gradients), which recording
// draws in fixed tiles and which may then differ by 1; within a rounding tolerance for
// gradient spans and cached layers (at most 8 in a channel, and more than 2 in at most 0.5 %
// of the pixels). Any number of threads gives exactly what one thread gives.

namespace {

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
constexpr int kShowStepMs = 500;  // the sanitizers run many times slower
#else
constexpr int kShowStepMs = 100;
#endif

Gfx::RasterOptions Direct() {
    Gfx::RasterOptions o;
    o.record = false;
    return o;
}

Gfx::RasterOptions Recorded(unsigned threads, bool fastGradients, bool reuse) {
    Gfx::RasterOptions o;
    o.threads = threads;
    o.fastGradients = fastGradients;
    o.reuse = reuse;
    return o;
}

// One document playing on a target of its own.
class Player {
  public:
    Player(const std::string& path, const Gfx::RasterOptions& options, uint32_t width,
           uint32_t height, float dpi) {
        EXPECT_EQ(Gfx::RenderTarget::Create(width, height, dpi, &m_Target), Gfx::kOk);
        m_Target->SetRasterOptions(options);
        ZEL::IScenimator* doc = nullptr;
        EXPECT_EQ(m_Factory.CreateScenimator(path, 0, m_Target.get(), &doc), ZEL::kSuccess)
            << m_Factory.GetErrorText();
        m_Document.reset(doc);
    }
    // Update and draw as the players do; the pixels of the frame.
    std::vector<uint8_t> Frame(uint32_t time) {
        EXPECT_EQ(m_Document->Update(time), ZEL::kSuccess) << m_Document->GetErrorText();
        m_Target->BeginDraw();
        m_Target->Clear(Gfx::ColorF{1, 1, 1, 1});
        EXPECT_EQ(m_Document->Render(Gfx::Matrix3x2::Identity(), nullptr), ZEL::kSuccess)
            << m_Document->GetErrorText();
        EXPECT_EQ(m_Target->EndDraw(), Gfx::kOk);
        const uint8_t* p = m_Target->GetPixels();
        return std::vector<uint8_t>(p, p + m_Target->GetStride() * m_Target->GetPixelSize().height);
    }
    Gfx::RenderTarget& Target() { return *m_Target; }

  private:
    std::shared_ptr<Gfx::RenderTarget> m_Target;
    ZEL::Factory m_Factory;
    std::unique_ptr<ZEL::IScenimator> m_Document;
};

struct Difference {
    int max = 0;
    size_t overTwo = 0, pixels = 0;
    bool Tolerable() const { return max <= 8 && overTwo * 200 <= pixels; }
    bool Rounding() const { return max <= 1; }
};

Difference Compare(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b) {
    Difference d;
    d.pixels = a.size() / 4;
    for (size_t i = 0; i < a.size(); i += 4) {
        int worst = 0;
        for (int c = 0; c < 4; ++c) worst = std::max(worst, std::abs(a[i + c] - b[i + c]));
        d.max = std::max(d.max, worst);
        d.overTwo += worst > 2;
    }
    return d;
}

// Byte-identical frames, or where and how often they differ.
::testing::AssertionResult Identical(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b,
                                     int width) {
    if (a == b)
        return ::testing::AssertionSuccess();
    size_t first = a.size(), count = 0;
    for (size_t i = 0; i < a.size(); i += 4) {
        if (std::memcmp(&a[i], &b[i], 4) != 0) {
            first = std::min(first, i);
            ++count;
        }
    }
    const size_t pixel = first / 4;
    return ::testing::AssertionFailure()
           << count << " pixels differ, the first at (" << pixel % width << ", " << pixel / width
           << "): " << int(a[first + 2]) << "," << int(a[first + 1]) << "," << int(a[first]) << ","
           << int(a[first + 3]) << " against " << int(b[first + 2]) << "," << int(b[first + 1])
           << "," << int(b[first]) << "," << int(b[first + 3]);
}

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
    Difference worst;
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
        for (const auto* frame : {&fast, &reused}) {
            const Difference d = Compare(*frame, expected);
            ASSERT_TRUE(d.Tolerable())
                << (frame == &fast ? "gradient spans" : "reused") << " at " << t << " ms: max "
                << d.max << ", " << d.overTwo << " pixels over 2";
            worst.max = std::max(worst.max, d.max);
            worst.overTwo = std::max(worst.overTwo, d.overTwo);
        }
    }
    RecordProperty("worst_channel_difference", worst.max);
    RecordProperty("most_pixels_over_2", static_cast<int>(worst.overTwo));
}

}  // namespace
