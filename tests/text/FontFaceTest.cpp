#include <gtest/gtest.h>

#include <functional>

#include "TextTestSupport.h"

using namespace Gfx;
using TextTest::CentredFormat;
using TextTest::RecordingRenderer;
using TextTest::RecordingSink;

namespace {

// Hands the first run of a laid-out text to a check while its face is alive.
class RunProbe : public RecordingRenderer {
  public:
    explicit RunProbe(std::function<void(const GlyphRun&)> check) : m_Check(std::move(check)) {}
    Result DrawGlyphRun(void*, float, float, const GlyphRun& run) override {
        if (!m_Done) {
            m_Check(run);
            m_Done = true;
        }
        return kOk;
    }
    bool Done() const { return m_Done; }

  private:
    std::function<void(const GlyphRun&)> m_Check;
    bool m_Done = false;
};

void Probe(const std::string& text, float size, std::function<void(const GlyphRun&)> check) {
    std::shared_ptr<TextLayout> layout;
    ASSERT_EQ(kOk, TextLayout::Create(text, *CentredFormat(size), 400, 100, &layout));
    RunProbe probe(std::move(check));
    ASSERT_EQ(kOk, layout->Draw(nullptr, &probe, 0, 0));
    ASSERT_TRUE(probe.Done());
}

Result Outline(const GlyphRun& run, GeometrySink* sink, float emSize, bool rtl = false,
               const float* advances = nullptr, const GlyphOffset* offsets = nullptr) {
    return run.fontFace->GetGlyphRunOutline(emSize, run.glyphIndices.data(), advances, offsets,
                                            static_cast<uint32_t>(run.glyphIndices.size()), false,
                                            rtl, sink);
}

}  // namespace

TEST(FontFace, WritesClosedWindingFiguresAndLeavesTheSinkOpen) {
    Probe("Hello", 40, [](const GlyphRun& run) {
        RecordingSink sink;
        ASSERT_EQ(kOk, Outline(run, &sink, run.emSize, false, run.glyphAdvances.data(),
                               run.glyphOffsets.data()));
        EXPECT_EQ(FillMode::Winding, sink.fillMode);
        EXPECT_GE(sink.begun, 6);  // H, e (two), l, l, o (two)
        EXPECT_EQ(sink.begun, sink.closedFigures);
        EXPECT_FALSE(sink.misuse);
        EXPECT_FALSE(sink.inFigure);
        EXPECT_EQ(0, sink.closeCalls);
        // Relative to the baseline origin: starts near x = 0, sits on y = 0.
        EXPECT_NEAR(0, sink.left, 5);
        EXPECT_NEAR(0, sink.bottom, 1);
        EXPECT_LT(sink.top, -25);
    });
}

TEST(FontFace, OutlineBuildsAGeometryWithTheSameBounds) {
    Probe("Hello", 40, [](const GlyphRun& run) {
        RecordingSink recorded;
        PathBuilder builder;
        ASSERT_EQ(kOk, Outline(run, &recorded, run.emSize));
        ASSERT_EQ(kOk, Outline(run, &builder, run.emSize));
        ASSERT_EQ(kOk, builder.Close());
        ASSERT_TRUE(builder.GetGeometry());
        RectF bounds;
        ASSERT_EQ(kOk, builder.GetGeometry()->GetBounds(nullptr, &bounds));
        EXPECT_NEAR(recorded.top, bounds.top, 0.5);
        EXPECT_NEAR(recorded.bottom, bounds.bottom, 0.5);
        EXPECT_NEAR(recorded.left, bounds.left, 0.5);
        EXPECT_NEAR(recorded.right, bounds.right, 0.5);
    });
}

// Every glyph of a long run is outlined, however far it lies from the origin.
TEST(FontFace, LongRunsAreOutlinedToTheirEnd) {
    Probe("HHHHHHHHHH", 20, [](const GlyphRun& run) {
        // Advances of 100 put the last glyph's left edge 900 pixels out.
        const std::vector<float> advances(run.glyphIndices.size(), 100);
        RecordingSink sink;
        ASSERT_EQ(kOk, Outline(run, &sink, run.emSize, false, advances.data()));
        EXPECT_GT(sink.right, 900);
        EXPECT_LT(sink.right, 920);
    });
}

TEST(FontFace, PositionsFollowTheGivenAdvancesOffsetsAndDirection) {
    Probe("HH", 40, [](const GlyphRun& run) {
        const float advances[] = {100, 0};
        const GlyphOffset offsets[] = {{0, 0}, {0, 10}};
        RecordingSink ltr, rtl, own;
        ASSERT_EQ(kOk, Outline(run, &ltr, run.emSize, false, advances, offsets));
        ASSERT_EQ(kOk, Outline(run, &rtl, run.emSize, true, advances, offsets));
        ASSERT_EQ(kOk, Outline(run, &own, run.emSize));  // the font's own advances
        const float glyphWidth = own.Width() / 2;
        // Second H moved 100 right and 10 up.
        EXPECT_NEAR(100 + glyphWidth, ltr.Width(), glyphWidth * 0.5);
        EXPECT_NEAR(-10, ltr.top - own.top, 0.01);
        // Right to left: the first glyph ends at the origin, the second starts at -100.
        EXPECT_LT(rtl.right, 1);
        EXPECT_NEAR(-100, rtl.left, 5);
        EXPECT_NEAR(own.Width(), run.glyphAdvances[0] + glyphWidth, glyphWidth * 0.5);
    });
}

TEST(FontFace, OutlineScalesWithTheRequestedEmSize) {
    Probe("Hello", 30, [](const GlyphRun& run) {
        RecordingSink own, doubled;
        ASSERT_EQ(kOk, Outline(run, &own, run.emSize));
        ASSERT_EQ(kOk, Outline(run, &doubled, run.emSize * 2));
        EXPECT_NEAR(2, doubled.Height() / own.Height(), 0.01);
        EXPECT_NEAR(2, doubled.Width() / own.Width(), 0.01);
    });
}

TEST(FontFace, GlyphIndicesTheFaceLacksDrawNothingAndHarmNothing) {
    Probe("Hello", 30, [](const GlyphRun& run) {
        const uint32_t bogus[] = {0x7FFFFFF0u, run.glyphIndices[0]};
        RecordingSink sink, after;
        ASSERT_EQ(kOk, run.fontFace->GetGlyphRunOutline(run.emSize, bogus, nullptr, nullptr, 2,
                                                        false, false, &sink));
        EXPECT_GT(sink.begun, 0);  // the real glyph is still outlined
        ASSERT_EQ(kOk, Outline(run, &after, run.emSize));
        EXPECT_GT(after.begun, 5);
    });
}

TEST(FontFace, RejectsUnusableArguments) {
    Probe("Hi", 30, [](const GlyphRun& run) {
        RecordingSink sink;
        const uint32_t glyph = run.glyphIndices[0];
        const float nanAdvance = std::nanf("");
        EXPECT_EQ(kInvalidArg, run.fontFace->GetGlyphRunOutline(run.emSize, &glyph, nullptr,
                                                                nullptr, 1, false, false, nullptr));
        EXPECT_EQ(kInvalidArg, run.fontFace->GetGlyphRunOutline(0, &glyph, nullptr, nullptr, 1,
                                                                false, false, &sink));
        EXPECT_EQ(kInvalidArg, run.fontFace->GetGlyphRunOutline(run.emSize, nullptr, nullptr,
                                                                nullptr, 1, false, false, &sink));
        EXPECT_EQ(kInvalidArg, run.fontFace->GetGlyphRunOutline(run.emSize, &glyph, &nanAdvance,
                                                                nullptr, 1, false, false, &sink));
        EXPECT_EQ(kOk, run.fontFace->GetGlyphRunOutline(run.emSize, nullptr, nullptr, nullptr, 0,
                                                        false, false, &sink));
        EXPECT_EQ(0, sink.begun);
    });
}
