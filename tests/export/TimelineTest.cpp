#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "Core/IFactory.h"
#include "Export/DocumentRenderer.h"
#include "Export/Timeline.h"
#include "Gfx/RenderTarget.h"
#include "Platform/Host.h"
#include "Platform/ScriptedOsLayer.h"

namespace {

using namespace ZEL;

TEST(Timeline, FrameTimesAreRoundedMultiplesOfTheFramePeriod) {
    const std::vector<uint32_t> t = FrameTimes(0, 1000, 60);
    ASSERT_EQ(t.size(), 61u);
    EXPECT_EQ(t[1], 17u);  // 16.67 rounds up
    EXPECT_EQ(t[2], 33u);
    EXPECT_EQ(t[3], 50u);
    EXPECT_EQ(t.back(), 1000u);
    EXPECT_EQ(FrameTimes(0, 154000, 60).size(), 9241u);
    EXPECT_EQ(FrameTimes(500, 600, 30), (std::vector<uint32_t>{500, 533, 567, 600}));
    EXPECT_TRUE(FrameTimes(600, 500, 30).empty());
}

// A surface with real pixels for the scripted host: it keeps a copy of every frame drawn.
class CapturingSurface : public IDrawingSurface {
  public:
    CapturingSurface(ScriptedOsLayer& os, std::vector<std::vector<uint8_t>>* frames)
        : m_Os(os), m_Frames(frames) {
        Gfx::RenderTarget::Create(200, 150, 24, &m_Target);
    }
    Gfx::RenderTarget* GetRenderTarget() override { return m_Target.get(); }
    void BeginDraw() override { m_Target->BeginDraw(); }
    void Clear(const Gfx::ColorF& c) override { m_Target->Clear(c); }
    Gfx::Result EndDraw() override {
        const Gfx::Result r = m_Target->EndDraw();
        const uint8_t* p = m_Target->GetPixels();
        m_Frames->emplace_back(p, p + m_Target->GetStride() * 150);
        return r;
    }
    void Present() override { m_Os.EndFrame(); }  // the clock moves by the frame's duration
    bool FollowsWindowSize() const override { return false; }
    Gfx::Result Resize(uint32_t, uint32_t) override { return Gfx::kOk; }

  private:
    ScriptedOsLayer& m_Os;
    std::vector<std::vector<uint8_t>>* m_Frames;
    std::shared_ptr<Gfx::RenderTarget> m_Target;
};

class CapturingOsLayer : public ScriptedOsLayer {
  public:
    std::unique_ptr<IDrawingSurface> CreateSurface(float, float) override {
        return std::make_unique<CapturingSurface>(*this, &frames);
    }
    std::vector<std::vector<uint8_t>> frames;
};

// The host's own frame loop, its clock stepping exactly one frame period per frame, shows
// the frames the timeline renders: same times, same pixels.
TEST(Timeline, FramesAreWhatAPlayerAtThatRateShows) {
    const uint32_t from = 19000;  // just before the show's first hand-over
    const std::vector<uint32_t> times = FrameTimes(from, from + 1000, 30);
    CapturingOsLayer os;
    os.SetTick(from);
    std::vector<uint32_t> durations;
    for (size_t k = 0; k + 1 < times.size(); ++k) durations.push_back(times[k + 1] - times[k]);
    os.SetFrameDurations(durations, 33);
    os.Post(Message::KeyDown(kKeyEscape), static_cast<int>(times.size()));
    EXPECT_EQ(os.RunToExit([&] { return RunHost(os, &GetFactory); }), 0);
    ASSERT_EQ(os.frames.size(), times.size());

    DocumentRenderer renderer;
    DocumentRenderer::Settings settings;
    settings.document = "data/vortel/postprocess.scn";
    settings.width = 200;
    settings.height = 150;
    settings.dpi = 24;
    settings.start = from;
    std::string error;
    ASSERT_TRUE(renderer.Open(settings, &error)) << error;
    for (size_t k = 0; k < times.size(); ++k) {
        ASSERT_TRUE(renderer.Frame(times[k], &error)) << error;
        const uint8_t* p = renderer.Pixels();
        EXPECT_TRUE(std::equal(os.frames[k].begin(), os.frames[k].end(), p))
            << "frame " << k << " at " << times[k] << " ms";
    }
}

}  // namespace
