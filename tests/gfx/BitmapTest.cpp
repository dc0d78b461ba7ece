#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "GfxTestSupport.h"

using namespace Gfx;
using namespace GfxTest;

namespace {

std::shared_ptr<Bitmap> Pixels(uint32_t width, uint32_t height, std::vector<uint32_t> bgra) {
    std::shared_ptr<Bitmap> b;
    EXPECT_EQ(Bitmap::Create({width, height}, bgra.data(), width * 4,
                             PixelFormat::BGRA8Premultiplied, &b),
              kOk);
    return b;
}

}  // namespace

TEST(Bitmap, DrawnAtHalfOpacityBlendsPremultiplied) {
    auto t = WhiteCanvas();
    auto grey = Pixels(1, 1, {0xffc8c8c8});  // grey 200, opaque
    t->DrawBitmap(*grey, {10, 10, 30, 30}, 0.5f, {0, 0, 1, 1});
    EXPECT_TRUE(Near(At(*t, 20, 20), {227, 227, 227, 255}, 1));
    EXPECT_TRUE(Near(At(*t, 9, 20), kWhite, 0));
    EXPECT_TRUE(Near(At(*t, 30, 20), kWhite, 0));
}

TEST(Bitmap, ScalesBilinearlyAndNeverSamplesOutsideTheSourceRectangle) {
    auto t = WhiteCanvas();
    auto pair = Pixels(2, 1, {0xffff0000 /* red */, 0xff0000ff /* blue */});
    t->DrawBitmap(*pair, {0, 0, 40, 40}, 1, {1, 0, 2, 1});
    for (int x : {0, 1, 20, 38, 39}) EXPECT_TRUE(Near(At(*t, x, 20), kBlue, 0)) << x;

    t->DrawBitmap(*pair, {0, 50, 100, 60}, 1, {0, 0, 2, 1});
    EXPECT_TRUE(Near(At(*t, 2, 55), kRed, 0));
    EXPECT_TRUE(Near(At(*t, 97, 55), kBlue, 0));
    const Pixel middle = At(*t, 50, 55);
    EXPECT_NEAR(middle.r, 128, 8);
    EXPECT_NEAR(middle.b, 128, 8);
}

TEST(Bitmap, CreateCopiesRowsAndPremultiplyRounds) {
    std::vector<uint8_t> straight = {200, 100, 50, 128, 10, 20, 30, 255, 99, 99, 99, 0};
    PremultiplyBgra(straight.data(), 3, 1, 12);
    EXPECT_EQ(straight, (std::vector<uint8_t>{100, 50, 25, 128, 10, 20, 30, 255, 0, 0, 0, 0}));

    // Rows with padding in the source.
    std::vector<uint8_t> alpha = {1, 2, 0xEE, 3, 4, 0xEE};
    std::shared_ptr<Bitmap> mask;
    ASSERT_EQ(Bitmap::Create({2, 2}, alpha.data(), 3, PixelFormat::A8, &mask), kOk);
    EXPECT_EQ(mask->GetFormat(), PixelFormat::A8);
    EXPECT_EQ(Bitmap::Create({2, 2}, alpha.data(), 1, PixelFormat::A8, &mask), kInvalidArg);
    EXPECT_EQ(Bitmap::Create({2, 2}, nullptr, 2, PixelFormat::A8, &mask), kInvalidArg);
}

TEST(CompatibleTarget, SizeIsRoundedUpFromDips) {
    std::shared_ptr<RenderTarget> t;
    ASSERT_EQ(RenderTarget::CreateCompatible({10.2f, 3}, 96, PixelFormat::A8, &t), kOk);
    EXPECT_EQ(t->GetPixelSize().width, 11u);
    EXPECT_EQ(t->GetPixelSize().height, 3u);
    EXPECT_EQ(t->GetFormat(), PixelFormat::A8);
    ASSERT_EQ(RenderTarget::CreateCompatible({0, 0}, 96, PixelFormat::A8, &t), kOk);
    EXPECT_EQ(t->GetPixelSize().width, 1u);
    ASSERT_EQ(RenderTarget::CreateCompatible({10, 1.5f}, 192, PixelFormat::A8, &t), kOk);
    EXPECT_EQ(t->GetPixelSize().width, 20u);
    EXPECT_EQ(t->GetPixelSize().height, 3u);
    EXPECT_EQ(RenderTarget::CreateCompatible({std::nanf(""), 1}, 96, PixelFormat::A8, &t),
              kInvalidArg);
    EXPECT_EQ(RenderTarget::CreateCompatible({1e9f, 1}, 96, PixelFormat::A8, &t), kInvalidArg);
}

// The mask path: draw a shape into an A8 target, take its bitmap, paint a brush through it
// placed by a translation.
TEST(OpacityMask, PaintsTheBrushThroughAnA8SnapshotAtThePlacement) {
    std::shared_ptr<RenderTarget> maskTarget;
    ASSERT_EQ(RenderTarget::CreateCompatible({20, 20}, 96, PixelFormat::A8, &maskTarget), kOk);
    maskTarget->BeginDraw();
    maskTarget->Clear({0, 0, 0, 0});
    maskTarget->SetTransform(Matrix3x2::Translation(-100, -100));
    maskTarget->FillGeometry(*Rect(105, 105, 115, 115), *Solid(0, 0, 0, 1));
    ASSERT_EQ(maskTarget->EndDraw(), kOk);
    std::shared_ptr<Bitmap> mask;
    ASSERT_EQ(maskTarget->GetBitmap(&mask), kOk);
    EXPECT_EQ(mask->GetFormat(), PixelFormat::A8);

    // The snapshot does not follow later drawing.
    maskTarget->BeginDraw();
    maskTarget->Clear({0, 0, 0, 1});
    maskTarget->EndDraw();

    auto t = WhiteCanvas();
    t->SetTransform(Matrix3x2::Translation(30, 30));
    t->FillOpacityMask(*mask, *Solid(1, 0, 0), nullptr, nullptr);
    EXPECT_TRUE(Near(At(*t, 35, 35), kRed, 0));
    EXPECT_TRUE(Near(At(*t, 44, 44), kRed, 0));
    EXPECT_TRUE(Near(At(*t, 34, 40), kWhite, 0));
    EXPECT_TRUE(Near(At(*t, 45, 40), kWhite, 0));
    EXPECT_EQ(CountNonWhite(*t), 100);

    // An explicit destination twice the size stretches the mask.
    t->Clear({1, 1, 1, 1});
    t->SetTransform(Matrix3x2::Identity());
    const RectF dest{0, 0, 40, 40};
    t->FillOpacityMask(*mask, *Solid(0, 0, 1), &dest, nullptr);
    EXPECT_TRUE(Near(At(*t, 20, 20), kBlue, 0));
    EXPECT_TRUE(Near(At(*t, 5, 20), kWhite, 0));
}

TEST(OpacityMask, KeepsItsSizeInDipsAcrossDpi) {
    std::shared_ptr<RenderTarget> maskTarget;
    ASSERT_EQ(RenderTarget::CreateCompatible({10, 10}, 192, PixelFormat::A8, &maskTarget), kOk);
    maskTarget->BeginDraw();
    maskTarget->Clear({0, 0, 0, 1});
    maskTarget->EndDraw();
    std::shared_ptr<Bitmap> mask;
    ASSERT_EQ(maskTarget->GetBitmap(&mask), kOk);
    EXPECT_EQ(mask->GetPixelSize().width, 20u);

    auto t = WhiteCanvas(100, 100, 192);
    t->FillOpacityMask(*mask, *Solid(0, 0, 0), nullptr, nullptr);
    EXPECT_EQ(CountNonWhite(*t), 400);  // 10 DIPs square = 20 pixels square
}
