#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "Core/TextGeometryConverter.h"
#include "FrameDifference.h"
#include "Gfx/RenderTarget.h"
#include "Gfx/Text.h"
#include "RasterModes.h"

// Text drawn from kept glyph masks must look like text covered as paths, frame after frame,
// whatever changes about it: a mask may only be reused for the same glyph, font, size and
// transform.
namespace {

using namespace RasterTest;

std::shared_ptr<Gfx::Geometry> TextOutline(const std::string& family, float size) {
    std::shared_ptr<Gfx::TextFormat> format;
    EXPECT_EQ(Gfx::TextFormat::Create(family, Gfx::kFontWeightNormal, Gfx::FontStyle::Normal,
                                      Gfx::kFontStretchNormal, size, "en-us", &format),
              Gfx::kOk);
    std::shared_ptr<Gfx::TextLayout> layout;
    EXPECT_EQ(Gfx::TextLayout::Create("Hamburgefonstiv", *format, 300, 60, &layout), Gfx::kOk);
    ZEL::TextGeometryConverter converter;
    EXPECT_EQ(layout->Draw(nullptr, &converter, 10.3f, 20.6f), Gfx::kOk);
    return converter.Outline();
}

struct Drawing {
    std::shared_ptr<Gfx::Geometry> text;
    Gfx::Matrix3x2 transform;
    const char* what;
    float stroke = 0;  // the outline's width, or 0 to fill
};

std::vector<uint8_t> Draw(Gfx::RenderTarget& target, const Drawing& d) {
    target.BeginDraw();
    target.Clear({1, 1, 1, 1});
    target.SetTransform(d.transform);
    target.SetAntialiasMode(Gfx::AntialiasMode::PerPrimitive);
    auto brush = std::make_shared<Gfx::SolidColorBrush>(Gfx::ColorF{0.1f, 0.2f, 0.5f, 1},
                                                        Gfx::BrushProperties{});
    if (d.stroke > 0)
        target.DrawGeometry(*d.text, *brush, d.stroke);
    else
        target.FillGeometry(*d.text, *brush);
    EXPECT_EQ(target.EndDraw(), Gfx::kOk);
    return PixelsOf(target);
}

}  // namespace

TEST(GlyphCache, MasksAreNeverReusedForAnotherGlyphFontSizeOrTransform) {
    const auto sans20 = TextOutline("Liberation Sans", 20);
    const auto sans21 = TextOutline("Liberation Sans", 21);
    const auto serif20 = TextOutline("Liberation Serif", 20);
    const Gfx::Matrix3x2 still = Gfx::Matrix3x2::Translation(0.25f, 0.5f);
    const std::vector<Drawing> frames = {
        {sans20, still, "Sans 20"},
        {sans21, still, "Sans 21"},
        {serif20, still, "Serif 20"},
        {sans20, Gfx::Matrix3x2::Translation(0.39f, 0.61f), "moved by a tenth of a pixel"},
        {sans20, Gfx::Multiply(Gfx::Matrix3x2::Rotation(4), still), "turned"},
        {sans20, Gfx::Multiply(Gfx::Matrix3x2::Scale(1.5f, 1.5f), still), "scaled"},
        {sans20, Gfx::Multiply(Gfx::Matrix3x2::Scale(1, -1), Gfx::Matrix3x2::Translation(0, 80)),
         "mirrored"},
        {sans20, still, "Sans 20 again"},
        {sans20, still, "outlined", 1.5f},
        {sans20, still, "outlined wider", 2.5f},
        {sans21, Gfx::Matrix3x2::Translation(0.7f, 0.2f), "Sans 21 outlined", 1.5f},
    };
    auto cached = TargetIn(Gfx::RasterOptions{}, 320, 120);
    Gfx::RasterOptions paths;
    paths.glyphCache = false;
    auto reference = TargetIn(paths, 320, 120);
    size_t fromMasks = 0;
    for (const Drawing& d : frames) {
        const Bench::Difference diff = Bench::Compare(Draw(*cached, d), Draw(*reference, d));
        fromMasks += cached->GetRasterStats().glyphsDrawn;
        // Sub-pixel steps of 1/32 pixel move edges by a few levels at most; another glyph,
        // font, size or turn would differ by far more.
        EXPECT_LE(diff.max, 16) << d.what;
        EXPECT_LE(diff.overTwo * 100, diff.pixels * 2) << d.what;
    }
    EXPECT_GT(fromMasks, 100u) << "the glyph cache was not used";
}
