#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "GfxTestSupport.h"

using namespace Gfx;
using namespace GfxTest;

namespace {

// One frame of shapes that cross the row where bands and tiles meet (64): an
// antialiased ellipse, a gradient, a bitmap scaled by a factor Cairo samples differently
// from where a composite starts, and a shape owned by nobody else (drawn at once, in order).
std::vector<uint8_t> Frame(const RasterOptions& options) {
    std::shared_ptr<RenderTarget> t;
    EXPECT_EQ(RenderTarget::Create(100, 96, 96, &t), kOk);
    t->SetRasterOptions(options);
    std::vector<uint8_t> pixels(16 * 16 * 4);
    for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = static_cast<uint8_t>(i * 37 % 251);
    for (size_t i = 3; i < pixels.size(); i += 4) pixels[i] = 255;
    std::shared_ptr<Bitmap> image;
    EXPECT_EQ(Bitmap::Create({16, 16}, pixels.data(), 64, PixelFormat::BGRA8Premultiplied, &image),
              kOk);
    std::shared_ptr<GradientStopCollection> stops;
    const GradientStop s[] = {{0, {0.1f, 0.2f, 0.9f, 1}}, {1, {0.9f, 0.8f, 0.1f, 0.7f}}};
    EXPECT_EQ(CreateGradientStopCollection(s, 2, 0, &stops), kOk);
    const LinearGradientBrush gradient({0, 20}, {90, 80}, stops, {});

    for (int frame = 0; frame < 2; ++frame) {  // the second may reuse the first
        t->BeginDraw();
        t->Clear({1, 1, 1, 1});
        t->SetAntialiasMode(AntialiasMode::PerPrimitive);
        t->FillGeometry(*Ellipse(50, 48, 41.3f, 30.7f), *Solid(0.9f, 0.1f, 0.2f, 0.8f));
        t->FillGeometry(*Rect(5, 20.5f, 60, 75.25f), gradient);
        t->DrawBitmap(*image, {30.3f, 10.7f, 93.1f, 88.9f}, 0.6f, {0, 0, 16, 16});
        PathData data;
        data.figures.push_back({{10, 30}, {{PathFigure::Kind::Line, {}, {}, {90, 70}}}, true});
        const Geometry unowned(data);  // on the stack: no one can hold it for later
        t->DrawGeometry(unowned, *Solid(0, 0, 0, 1), 3);
        t->FillGeometry(*Ellipse(30, 64, 12, 12), *Solid(0.2f, 0.7f, 0.3f, 1));
        t->SetAntialiasMode(AntialiasMode::Aliased);
        EXPECT_EQ(t->EndDraw(), kOk);
    }
    const uint8_t* p = t->GetPixels();
    return std::vector<uint8_t>(p, p + t->GetStride() * 96);
}

int MaxDifference(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b) {
    int worst = 0;
    for (size_t i = 0; i < a.size(); ++i) worst = std::max(worst, std::abs(a[i] - b[i]));
    return worst;
}

}  // namespace

TEST(Recording, BandsAndThreadsGiveTheSamePixelsAsOneThread) {
    for (const bool reuse : {false, true}) {
        for (const bool spans : {false, true}) {
            SCOPED_TRACE(std::string(reuse ? "reuse" : "no reuse") + (spans ? ", spans" : ""));
            RasterOptions one;
            one.threads = 1, one.reuse = reuse, one.fastGradients = spans;
            RasterOptions many = one;
            many.threads = 3;
            const auto single = Frame(one);
            EXPECT_TRUE(single == Frame(many));
            RasterOptions direct;
            direct.record = false;
            EXPECT_LE(MaxDifference(single, Frame(direct)), spans || reuse ? 8 : 1);
        }
    }
}

// A pixel read in the middle of a frame shows what was drawn so far, and the frame goes on.
TEST(Recording, PixelsReadBeforeEndDrawShowTheFrameSoFar) {
    auto t = WhiteCanvas(40, 40);
    t->FillGeometry(*Rect(0, 0, 20, 40), *Solid(1, 0, 0));
    EXPECT_TRUE(Near(At(*t, 10, 10), kRed, 0));
    EXPECT_TRUE(Near(At(*t, 30, 10), kWhite, 0));
    t->FillGeometry(*Rect(20, 0, 40, 40), *Solid(0, 0, 1));
    EXPECT_EQ(t->EndDraw(), kOk);
    EXPECT_TRUE(Near(At(*t, 10, 10), kRed, 0));
    EXPECT_TRUE(Near(At(*t, 30, 10), kBlue, 0));
}
