#include "Import/TextMeasure.h"

#include <algorithm>
#include <cmath>
#include <memory>

#include "Gfx/Text.h"

namespace Import {

namespace {

// Records the runs a layout would draw, without drawing them.
class RunRecorder : public Gfx::TextRenderer {
  public:
    Gfx::Result IsPixelSnappingDisabled(void*, bool* disabled) override {
        *disabled = true;  // exact positions; the player snaps its own baselines
        return 0;
    }
    Gfx::Result GetCurrentTransform(void*, Gfx::Matrix3x2* transform) override {
        *transform = Gfx::Matrix3x2::Identity();
        return 0;
    }
    Gfx::Result GetPixelsPerDip(void*, float* pixelsPerDip) override {
        *pixelsPerDip = 1;
        return 0;
    }
    Gfx::Result DrawGlyphRun(void*, float x, float y, const Gfx::GlyphRun& run) override {
        double advance = 0;
        for (float a : run.glyphAdvances) advance += a;
        const bool rtl = run.bidiLevel % 2 == 1;
        const double left = rtl ? x - advance : x;
        m_Left = std::min(m_Left, left);
        m_Right = std::max(m_Right, left + advance);
        if (!m_Seen)
            m_Baseline = y;
        m_Seen = true;
        return 0;
    }
    Gfx::Result DrawUnderline(void*, float, float) override { return 0; }
    Gfx::Result DrawStrikethrough(void*, float, float) override { return 0; }
    Gfx::Result DrawInlineObject(void*, float, float) override { return 0; }

    bool Seen() const { return m_Seen; }
    double Left() const { return m_Left; }
    double Right() const { return m_Right; }
    double Baseline() const { return m_Baseline; }

  private:
    bool m_Seen = false;
    double m_Left = INFINITY, m_Right = -INFINITY, m_Baseline = 0;
};

}  // namespace

bool MeasureText(const std::string& utf8, const std::string& family, double size, double boxWidth,
                 double boxHeight, TextPlacement* out) {
    std::shared_ptr<Gfx::TextFormat> format;
    if (Gfx::TextFormat::Create(family, Gfx::kFontWeightNormal, Gfx::FontStyle::Normal,
                                Gfx::kFontStretchNormal, static_cast<float>(size), "en-us",
                                &format) != 0) {
        return false;
    }
    format->SetTextAlignment(Gfx::TextAlignment::Center);
    format->SetParagraphAlignment(Gfx::ParagraphAlignment::Center);
    std::shared_ptr<Gfx::TextLayout> layout;
    if (Gfx::TextLayout::Create(utf8, *format, static_cast<float>(boxWidth),
                                static_cast<float>(boxHeight), &layout) != 0) {
        return false;
    }
    RunRecorder recorder;
    if (layout->Draw(nullptr, &recorder, 0, 0) != 0 || !recorder.Seen()) {
        return false;
    }
    out->left = recorder.Left();
    out->baseline = recorder.Baseline();
    out->advance = recorder.Right() - recorder.Left();
    return true;
}

}  // namespace Import
