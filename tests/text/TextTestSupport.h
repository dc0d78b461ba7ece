#pragma once
#include <algorithm>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "Gfx/Text.h"

namespace TextTest {

// Records what a glyph outline writes, translated by an offset.
class RecordingSink : public Gfx::GeometrySink {
  public:
    explicit RecordingSink(Gfx::Point2F offset = {}) : m_Offset(offset) {}

    void SetFillMode(Gfx::FillMode mode) override { fillMode = mode; }
    void BeginFigure(Gfx::Point2F start, Gfx::FigureBegin) override {
        ++begun;
        if (inFigure) {
            misuse = true;
        }
        inFigure = true;
        Add(start);
    }
    void AddLine(Gfx::Point2F to) override { Segment(to); }
    void AddBezier(Gfx::Point2F p1, Gfx::Point2F p2, Gfx::Point2F p3) override {
        Segment(p1);
        Segment(p2);
        Segment(p3);
    }
    void EndFigure(Gfx::FigureEnd end) override {
        if (!inFigure) {
            misuse = true;
        }
        inFigure = false;
        closedFigures += end == Gfx::FigureEnd::Closed;
        ++ended;
    }
    Gfx::Result Close() override {
        ++closeCalls;
        return Gfx::kOk;
    }

    bool Empty() const { return points == 0; }
    float Width() const { return right - left; }
    float Height() const { return bottom - top; }
    float CentreX() const { return (left + right) / 2; }
    float CentreY() const { return (top + bottom) / 2; }

    Gfx::FillMode fillMode = Gfx::FillMode::Alternate;
    int begun = 0, ended = 0, closedFigures = 0, closeCalls = 0, points = 0;
    bool inFigure = false, misuse = false;
    // Bounds of all points, control points included (they stay near glyph outlines).
    float left = std::numeric_limits<float>::infinity(), top = left;
    float right = -left, bottom = -left;

  private:
    void Segment(Gfx::Point2F p) {
        if (!inFigure) {
            misuse = true;
        }
        Add(p);
    }
    void Add(Gfx::Point2F p) {
        ++points;
        const float x = p.x + m_Offset.x, y = p.y + m_Offset.y;
        left = std::min(left, x);
        right = std::max(right, x);
        top = std::min(top, y);
        bottom = std::max(bottom, y);
    }
    Gfx::Point2F m_Offset;
};

struct RecordedRun {
    float baselineX = 0, baselineY = 0;
    float emSize = 0;
    uint32_t bidiLevel = 0;
    std::vector<uint32_t> glyphs;
    std::vector<float> advances;
    std::string family;
    RecordingSink outline;  // in layout coordinates: moved to the baseline origin
    Gfx::Result outlineResult = Gfx::kOk;
};

// Outlines every run at its baseline origin while the face is still valid.
class RecordingRenderer : public Gfx::TextRenderer {
  public:
    Gfx::Result IsPixelSnappingDisabled(void*, bool* disabled) override {
        ++queries;
        *disabled = snappingDisabled;
        return queryResult;
    }
    Gfx::Result GetCurrentTransform(void*, Gfx::Matrix3x2* m) override {
        ++queries;
        *m = transform;
        return Gfx::kOk;
    }
    Gfx::Result GetPixelsPerDip(void*, float* ppd) override {
        ++queries;
        *ppd = pixelsPerDip;
        return Gfx::kOk;
    }
    Gfx::Result DrawGlyphRun(void*, float x, float y, const Gfx::GlyphRun& run) override {
        runs.emplace_back();
        RecordedRun& r = runs.back();
        r.baselineX = x;
        r.baselineY = y;
        r.emSize = run.emSize;
        r.bidiLevel = run.bidiLevel;
        r.glyphs = run.glyphIndices;
        r.advances = run.glyphAdvances;
        r.family = run.fontFace->GetFamilyName();
        r.outline = RecordingSink({x, y});
        r.outlineResult = run.fontFace->GetGlyphRunOutline(
            run.emSize, run.glyphIndices.data(), run.glyphAdvances.data(), run.glyphOffsets.data(),
            static_cast<uint32_t>(run.glyphIndices.size()), run.isSideways, run.bidiLevel % 2 == 1,
            &r.outline);
        return runResult;
    }
    Gfx::Result DrawUnderline(void*, float, float) override { return Gfx::kNotImplemented; }
    Gfx::Result DrawStrikethrough(void*, float, float) override { return Gfx::kNotImplemented; }
    Gfx::Result DrawInlineObject(void*, float, float) override { return Gfx::kNotImplemented; }

    bool snappingDisabled = false;
    Gfx::Matrix3x2 transform = Gfx::Matrix3x2::Identity();
    float pixelsPerDip = 1;

    // Bounds of all runs' outlines together.
    RecordingSink Union() const {
        RecordingSink all;
        for (const RecordedRun& r : runs) {
            all.points += r.outline.points;
            all.left = std::min(all.left, r.outline.left);
            all.right = std::max(all.right, r.outline.right);
            all.top = std::min(all.top, r.outline.top);
            all.bottom = std::max(all.bottom, r.outline.bottom);
        }
        return all;
    }

    std::vector<RecordedRun> runs;
    int queries = 0;
    Gfx::Result queryResult = Gfx::kOk;
    Gfx::Result runResult = Gfx::kOk;
};

// A centred format, as documents use for text.
inline std::shared_ptr<Gfx::TextFormat> CentredFormat(float size,
                                                      const std::string& family = "Arial") {
    std::shared_ptr<Gfx::TextFormat> format;
    if (Gfx::Failed(Gfx::TextFormat::Create(family, Gfx::kFontWeightNormal, Gfx::FontStyle::Normal,
                                            Gfx::kFontStretchNormal, size, "en-us", &format))) {
        return nullptr;
    }
    format->SetTextAlignment(Gfx::TextAlignment::Center);
    format->SetParagraphAlignment(Gfx::ParagraphAlignment::Center);
    return format;
}

// Lays out and draws; returns Draw's result.
inline Gfx::Result LayOut(const std::string& text, const Gfx::TextFormat& format, float w, float h,
                          float x, float y, RecordingRenderer* renderer) {
    std::shared_ptr<Gfx::TextLayout> layout;
    const Gfx::Result r = Gfx::TextLayout::Create(text, format, w, h, &layout);
    if (Gfx::Failed(r)) {
        return r;
    }
    return layout->Draw(nullptr, renderer, x, y);
}

}  // namespace TextTest
