#include <gtest/gtest.h>

#include <limits>

#include "GfxTestSupport.h"

using namespace Gfx;
using namespace GfxTest;

namespace {

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();

// Filled or not, pixel by pixel along a row.
std::string Row(RenderTarget& t, int y, int from, int to) {
    std::string s;
    for (int x = from; x < to; ++x) s += Near(At(t, x, y), kWhite, 0) ? '.' : '#';
    return s;
}

}  // namespace

TEST(RenderTarget, AliasedByDefaultWithExactEdgesAtWholeCoordinates) {
    auto t = WhiteCanvas();
    EXPECT_EQ(t->GetAntialiasMode(), AntialiasMode::Aliased);
    t->FillGeometry(*Rect(10, 10, 20, 20), *Solid(1, 0, 0));
    EXPECT_EQ(Row(*t, 10, 8, 22), "..##########..");
    EXPECT_TRUE(Near(At(*t, 10, 10), kRed, 0));
    EXPECT_TRUE(Near(At(*t, 19, 19), kRed, 0));
    EXPECT_TRUE(Near(At(*t, 15, 9), kWhite, 0));
    EXPECT_TRUE(Near(At(*t, 15, 20), kWhite, 0));
    // Aliased circles have no partly covered pixels either.
    t->FillGeometry(*Ellipse(60, 60, 15.3f, 15.3f), *Solid(0, 0, 0));
    for (int x = 40; x < 80; ++x) {
        const Pixel p = At(*t, x, 60);
        EXPECT_TRUE(Near(p, kBlack, 0) || Near(p, kWhite, 0)) << x;
    }
    EXPECT_EQ(t->EndDraw(), kOk);
}

TEST(RenderTarget, PerPrimitiveSmoothsEdges) {
    auto t = WhiteCanvas();
    t->SetAntialiasMode(AntialiasMode::PerPrimitive);
    t->FillGeometry(*Rect(10.5f, 10, 20.5f, 20), *Solid(0, 0, 0));
    EXPECT_TRUE(Near(At(*t, 10, 15), {128, 128, 128, 255}, 2));
    EXPECT_TRUE(Near(At(*t, 11, 15), kBlack, 0));
    EXPECT_TRUE(Near(At(*t, 20, 15), {128, 128, 128, 255}, 2));
}

TEST(RenderTarget, TransformsMoveTurnAndScaleAndDpiScalesUnderThem) {
    auto t = WhiteCanvas();
    auto square = Rect(60, 45, 70, 55);
    t->SetTransform(Matrix3x2::Rotation(90, 50, 50));  // to x 45..55, y 60..70
    t->FillGeometry(*square, *Solid(1, 0, 0));
    EXPECT_TRUE(Near(At(*t, 45, 60), kRed, 0));
    EXPECT_TRUE(Near(At(*t, 54, 69), kRed, 0));
    EXPECT_TRUE(Near(At(*t, 65, 50), kWhite, 0));

    t->SetTransform(Matrix3x2::Translation(30, 0));
    t->FillGeometry(*Rect(0, 0, 5, 5), *Solid(0, 0, 1));
    EXPECT_EQ(Row(*t, 2, 28, 37), "..#####..");

    t->SetTransform(Multiply(Matrix3x2::Translation(1, 0), Matrix3x2::Scale(2, 2)));
    t->FillGeometry(*Rect(0, 10, 4, 12), *Solid(0, 0, 0));  // to x 2..10, y 20..24
    EXPECT_EQ(Row(*t, 21, 0, 12), "..########..");

    auto hiDpi = WhiteCanvas(100, 100, 192);
    EXPECT_FLOAT_EQ(hiDpi->GetSize().width, 50);
    hiDpi->SetTransform(Matrix3x2::Translation(5, 0));
    hiDpi->FillGeometry(*Rect(0, 0, 5, 5), *Solid(0, 0, 0));  // DIPs 5..10 = pixels 10..20
    EXPECT_EQ(Row(*hiDpi, 5, 8, 22), "..##########..");
}

TEST(RenderTarget, StrokeIsCentredOnTheOutlineWithSquareCorners) {
    auto t = WhiteCanvas();
    t->DrawGeometry(*Rect(20, 20, 80, 80), *Solid(0, 0, 0), 4);
    EXPECT_EQ(Row(*t, 50, 16, 24), "..####..");
    EXPECT_TRUE(Near(At(*t, 50, 50), kWhite, 0));
    EXPECT_TRUE(Near(At(*t, 18, 18), kBlack, 0));  // miter join fills the corner
    EXPECT_EQ(Row(*t, 50, 76, 84), "..####..");

    // Flat caps: an open line ends exactly at its end points.
    PathBuilder b;
    b.BeginFigure({30, 90}, FigureBegin::Filled);
    b.AddLine({70, 90});
    b.EndFigure(FigureEnd::Open);
    ASSERT_EQ(b.Close(), kOk);
    t->DrawGeometry(*b.GetGeometry(), *Solid(0, 0, 0), 2);
    EXPECT_EQ(Row(*t, 89, 28, 32), "..##");
    EXPECT_EQ(Row(*t, 89, 68, 72), "##..");
}

TEST(RenderTarget, FillsAClosedPathWithABezier) {
    auto t = WhiteCanvas();
    PathBuilder b;
    b.SetFillMode(FillMode::Winding);
    b.BeginFigure({10, 50}, FigureBegin::Filled);
    b.AddBezier({10, 0}, {90, 0}, {90, 50});  // peaks at y = 12.5
    b.EndFigure(FigureEnd::Closed);
    ASSERT_EQ(b.Close(), kOk);
    t->FillGeometry(*b.GetGeometry(), *Solid(0, 0, 0));
    EXPECT_TRUE(Near(At(*t, 50, 14), kBlack, 0));
    EXPECT_TRUE(Near(At(*t, 50, 11), kWhite, 0));
    EXPECT_TRUE(Near(At(*t, 50, 49), kBlack, 0));
    EXPECT_TRUE(Near(At(*t, 50, 51), kWhite, 0));
    EXPECT_TRUE(Near(At(*t, 12, 20), kWhite, 0));
}

TEST(RenderTarget, HostileNumbersDrawNothingAndLeaveLaterDrawingIntact) {
    auto t = WhiteCanvas();
    auto black = Solid(0, 0, 0);
    auto sentinel = Rect(40, 40, 60, 60);
    auto good = Rect(0, 0, 30, 30);

    auto check = [&](const char* what) {
        t->SetTransform(Matrix3x2::Identity());
        t->SetAntialiasMode(AntialiasMode::PerPrimitive);
        t->FillGeometry(*sentinel, *Solid(1, 0, 0));
        t->SetAntialiasMode(AntialiasMode::Aliased);
        EXPECT_TRUE(Near(At(*t, 50, 50), kRed, 0)) << what;
        EXPECT_EQ(CountNonWhite(*t), 400) << what;
        EXPECT_EQ(t->EndDraw(), kOk) << what;
        t->BeginDraw();
        t->Clear({1, 1, 1, 1});
    };

    for (float bad : {kNaN, kInf, -kInf, 1e30f}) {
        t->FillGeometry(*Rect(0, 0, bad, 30), *black);
        t->DrawGeometry(*Ellipse(50, bad, 10, 10), *black, 3);
        t->FillGeometry(*Ellipse(50, 50, bad, 10), *black);
        check("coordinate");
    }
    for (const Matrix3x2& m : {Matrix3x2::Scale(0, 0), Matrix3x2::Scale(1, 0),
                               Matrix3x2{kNaN, 0, 0, 1, 0, 0}, Matrix3x2{1, 0, 0, 1, kInf, 0},
                               Matrix3x2{1e30f, 0, 0, 1e30f, 0, 0}, Matrix3x2::Scale(1e-30f, 1)}) {
        t->SetTransform(m);
        t->FillGeometry(*good, *black);
        t->DrawGeometry(*good, *black, 2);
        check("transform");
    }
    for (float width : {kNaN, -1.0f, kInf, 1e30f}) {
        t->DrawGeometry(*good, *black, width);
        check("stroke width");
    }
    t->FillGeometry(*good, *Solid(kNaN, 0, 0));
    auto faded = Solid(0, 0, 0);
    faded->SetOpacity(kNaN);
    t->FillGeometry(*good, *faded);
    auto skewed = Solid(0, 0, 0);
    skewed->SetTransform(Matrix3x2::Scale(0, 0));
    t->FillGeometry(*good, *skewed);  // a solid colour ignores its transform
    EXPECT_TRUE(Near(At(*t, 10, 10), kBlack, 0));
    t->Clear({1, 1, 1, 1});
    check("brush");

    std::shared_ptr<Bitmap> bitmap;
    const uint32_t grey = 0xff808080;
    ASSERT_EQ(Bitmap::Create({1, 1}, &grey, 4, PixelFormat::BGRA8Premultiplied, &bitmap), kOk);
    t->DrawBitmap(*bitmap, {0, 0, kNaN, 10}, 1, {0, 0, 1, 1});
    t->DrawBitmap(*bitmap, {0, 0, 10, 10}, kNaN, {0, 0, 1, 1});
    t->DrawBitmap(*bitmap, {0, 0, 10, 10}, 1, {0, 0, kInf, 1});
    t->DrawBitmap(*bitmap, {10, 0, 0, 10}, 1, {0, 0, 1, 1});
    t->FillOpacityMask(*bitmap, *black, nullptr, nullptr);  // sanity: this one draws
    EXPECT_FALSE(Near(At(*t, 0, 0), kWhite, 0));
    t->Clear({1, 1, 1, 1});
    const RectF nanRect{kNaN, 0, 1, 1};
    t->FillOpacityMask(*bitmap, *black, &nanRect, nullptr);
    t->FillOpacityMask(*bitmap, *black, nullptr, &nanRect);
    check("bitmap");
}

TEST(RenderTarget, DrawStateAndClear) {
    std::shared_ptr<RenderTarget> t;
    ASSERT_EQ(RenderTarget::Create(20, 10, 96, &t), kOk);
    EXPECT_EQ(t->EndDraw(), kWrongState);
    t->FillGeometry(*Rect(0, 0, 5, 5), *Solid(0, 0, 0));  // outside BeginDraw: ignored
    EXPECT_EQ(At(*t, 1, 1).a, 0);
    t->BeginDraw();
    EXPECT_EQ(t->EndDraw(), kWrongState);  // the misuse is reported once
    t->BeginDraw();
    t->SetTransform(Matrix3x2::Scale(0.1f, 0.1f));
    t->Clear({0, 0, 1, 0.5f});  // ignores the transform, premultiplied result
    EXPECT_TRUE(Near(At(*t, 19, 9), {128, 0, 0, 128}, 1));
    EXPECT_EQ(t->EndDraw(), kOk);
}

TEST(RenderTarget, ResizeDpiAndPng) {
    auto t = WhiteCanvas(10, 10);
    ASSERT_EQ(t->Resize(30, 20), kOk);
    EXPECT_EQ(t->GetPixelSize().width, 30u);
    EXPECT_GE(t->GetStride(), 120u);
    t->Clear({0, 0, 0, 1});
    EXPECT_TRUE(Near(At(*t, 29, 19), kBlack, 0));
    EXPECT_EQ(t->Resize(0, 0), kOk);  // a minimised window
    EXPECT_EQ(t->Resize(40000, 10), kInvalidArg);
    t->SetDpi(0, kNaN);
    EXPECT_FLOAT_EQ(t->GetDpiX(), 96);
    EXPECT_FLOAT_EQ(t->GetDpiY(), 96);

    auto out = WhiteCanvas(8, 8);
    TempDir dir;
    EXPECT_EQ(out->WritePng(dir.File("frame.png")), kOk);
    EXPECT_EQ(ReadBytes(dir.File("frame.png")).size() > 8, true);
    EXPECT_EQ(out->WritePng(dir.File("missing/dir/frame.png")), kFail);
}
