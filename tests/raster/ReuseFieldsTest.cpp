#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "FrameDifference.h"
#include "Gfx/RenderTarget.h"
#include "RasterModes.h"

// A frame is taken from the last one, whole or a run of calls at a time, only when nothing
// that shows changed. Each case here draws frames that differ from the one before in one
// thing alone (the antialias mode of a fill, the clear colour, a bitmap's source rectangle
// or opacity, ...), still or beside a shape that moves (so that runs come from layers), and
// every frame must match direct drawing.

namespace {

using namespace RasterTest;

constexpr int kSide = 128;  // two tiles of 64 rows: two bands on two threads
const Gfx::ColorF kWhite{1, 1, 1, 1};

std::shared_ptr<Gfx::Geometry> Box(float l, float t, float r, float b) {
    std::shared_ptr<Gfx::Geometry> g;
    EXPECT_EQ(Gfx::CreateRectangleGeometry({l, t, r, b}, &g), Gfx::kOk);
    return g;
}

std::shared_ptr<Gfx::Geometry> Oval(float cx, float cy, float rx, float ry) {
    std::shared_ptr<Gfx::Geometry> g;
    EXPECT_EQ(Gfx::CreateEllipseGeometry({cx, cy}, rx, ry, &g), Gfx::kOk);
    return g;
}

std::shared_ptr<Gfx::SolidColorBrush> Solid(float r, float g, float b, float a = 1) {
    return std::make_shared<Gfx::SolidColorBrush>(Gfx::ColorF{r, g, b, a}, Gfx::BrushProperties{});
}

// 32x32 opaque pixels, a different colour in each 16x16 quarter.
std::shared_ptr<Gfx::Bitmap> Quarters() {
    const uint32_t colours[4] = {0xffd02020, 0xff20b040, 0xff2040d0, 0xfff0d020};
    std::vector<uint32_t> pixels(32 * 32);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) pixels[y * 32 + x] = colours[(y / 16) * 2 + x / 16];
    std::shared_ptr<Gfx::Bitmap> b;
    EXPECT_EQ(Gfx::Bitmap::Create({32, 32}, pixels.data(), 32 * 4,
                                  Gfx::PixelFormat::BGRA8Premultiplied, &b),
              Gfx::kOk);
    return b;
}

// A 32x32 mask: solid on the left half, a quarter on the right.
std::shared_ptr<Gfx::Bitmap> HalfMask() {
    std::vector<uint8_t> alpha(32 * 32);
    for (int i = 0; i < 32 * 32; ++i) alpha[i] = i % 32 < 16 ? 255 : 64;
    std::shared_ptr<Gfx::Bitmap> b;
    EXPECT_EQ(Gfx::Bitmap::Create({32, 32}, alpha.data(), 32, Gfx::PixelFormat::A8, &b), Gfx::kOk);
    return b;
}

// What the frames draw, made once so that every frame draws the same objects.
struct Scene {
    // Large enough that their device bounds fill the target whatever the case changes, so
    // that only the field under test tells the calls apart.
    std::shared_ptr<Gfx::Geometry> oval = Oval(64, 64, 70, 50);
    std::shared_ptr<Gfx::Geometry> box = Box(-6, 14, 134, 114);  // the oval's hull
    std::shared_ptr<Gfx::Geometry> left = Box(4, 4, 40, 124), right = Box(88, 4, 124, 124);
    std::shared_ptr<Gfx::Geometry> dot = Box(0, 0, 6, 6);
    std::shared_ptr<Gfx::SolidColorBrush> red = Solid(0.9f, 0.1f, 0.1f);
    std::shared_ptr<Gfx::SolidColorBrush> blue = Solid(0.1f, 0.2f, 0.9f, 0.8f);
    std::shared_ptr<Gfx::SolidColorBrush> grey = Solid(0.5f, 0.5f, 0.5f, 0.6f);
    std::shared_ptr<Gfx::SolidColorBrush> black = Solid(0, 0, 0);
    std::shared_ptr<Gfx::LinearGradientBrush> gradient;
    std::shared_ptr<Gfx::Bitmap> image = Quarters(), mask = HalfMask();

    Scene() {
        std::shared_ptr<Gfx::GradientStopCollection> stops;
        const Gfx::GradientStop s[] = {{0, {0.9f, 0.8f, 0.1f, 1}}, {1, {0.1f, 0.3f, 0.8f, 1}}};
        EXPECT_EQ(Gfx::CreateGradientStopCollection(s, 2, 0, &stops), Gfx::kOk);
        gradient = std::make_shared<Gfx::LinearGradientBrush>(
            Gfx::Point2F{10, 0}, Gfx::Point2F{110, 0}, stops, Gfx::BrushProperties{});
    }
};

// One field of a drawing call, and the call drawn with the field at value 0 or 1.
struct Field {
    std::string name;
    std::function<void(Scene&, Gfx::RenderTarget&, int value)> draw;
    std::function<Gfx::ColorF(int value)> clear = [](int) { return kWhite; };
};

void PrintTo(const Field& f, std::ostream* os) {
    *os << f.name;
}

void WithAntialias(Gfx::RenderTarget& t, bool on, const std::function<void()>& draw) {
    t.SetAntialiasMode(on ? Gfx::AntialiasMode::PerPrimitive : Gfx::AntialiasMode::Aliased);
    draw();
    t.SetAntialiasMode(Gfx::AntialiasMode::Aliased);
}

std::vector<Field> Fields() {
    using RT = Gfx::RenderTarget;
    return {
        {"FillAntialias",
         [](Scene& s, RT& t, int v) {
             WithAntialias(t, v, [&] { t.FillGeometry(*s.oval, *s.red); });
         }},
        {"StrokeAntialias",
         [](Scene& s, RT& t, int v) {
             WithAntialias(t, v, [&] { t.DrawGeometry(*s.oval, *s.blue, 3); });
         }},
        {"ClearColour", [](Scene&, RT&, int) {},
         [](int v) {
             return v ? Gfx::ColorF{0.8f, 0.9f, 1, 1} : kWhite;
         }},
        {"BitmapSourceRectangle",
         [](Scene& s, RT& t, int v) {
             t.DrawBitmap(*s.image, {20, 20, 108, 108}, 1, {v * 16.0f, 0, v * 16.0f + 16, 16});
         }},
        {"BitmapOpacity",
         [](Scene& s, RT& t, int v) {
             t.DrawBitmap(*s.image, {20, 20, 108, 108}, v ? 0.4f : 1, {0, 0, 32, 32});
         }},
        {"BitmapAntialias",
         [](Scene& s, RT& t, int v) {
             WithAntialias(t, v, [&] {
                 t.DrawBitmap(*s.image, {20.4f, 20.4f, 107.6f, 107.6f}, 1, {0, 0, 32, 32});
             });
         }},
        {"MaskSourceRectangle",
         [](Scene& s, RT& t, int v) {
             const Gfx::RectF dest{20, 20, 108, 108}, src{v * 16.0f, 0, v * 16.0f + 16, 32};
             t.FillOpacityMask(*s.mask, *s.red, &dest, &src);
         }},
        {"MaskBrush",
         [](Scene& s, RT& t, int v) {
             const Gfx::RectF dest{20, 20, 108, 108};
             t.FillOpacityMask(*s.mask, v ? *s.blue : *s.red, &dest, nullptr);
         }},
        {"StrokeWidth",
         [](Scene& s, RT& t, int v) { t.DrawGeometry(*s.oval, *s.blue, v ? 8 : 4); }},
        {"Geometry", [](Scene& s, RT& t, int v) { t.FillGeometry(v ? *s.box : *s.oval, *s.red); }},
        {"SolidColour",
         [](Scene& s, RT& t, int v) { t.FillGeometry(*s.oval, v ? *s.blue : *s.red); }},
        {"Transform",
         [](Scene& s, RT& t, int v) {
             t.SetTransform(Gfx::Matrix3x2::Translation(v * 5.0f, 0));
             t.FillGeometry(*s.oval, *s.red);
             t.SetTransform({});
         }},
        {"GradientPlacement",
         [](Scene& s, RT& t, int v) {
             s.gradient->SetTransform(Gfx::Matrix3x2::Translation(v * 30.0f, 0));
             t.FillGeometry(*s.oval, *s.gradient);
         }},
        {"GradientOpacity",
         [](Scene& s, RT& t, int v) {
             s.gradient->SetTransform({});
             s.gradient->SetOpacity(v ? 0.4f : 1);
             t.FillGeometry(*s.oval, *s.gradient);
         }},
    };
}

// The values of the field frame by frame: each value is drawn twice in a row (reused the
// second time), and comes back after the other (a layer of it may still be kept).
constexpr int kValues[] = {0, 0, 0, 1, 1, 0, 1};
constexpr int kFrames = sizeof(kValues) / sizeof(kValues[0]);

class ReuseFields : public ::testing::TestWithParam<Field> {
  protected:
    // The call under test between two others that never change, so that the three form a
    // run that a layer may keep; moving: then a small shape that moves every frame, so that
    // the frame as a whole is never the last one again.
    void Draw(Gfx::RenderTarget& t, int frame, bool moving) {
        const Field& field = GetParam();
        t.BeginDraw();
        t.Clear(field.clear(kValues[frame]));
        t.FillGeometry(*m_Scene.left, *m_Scene.grey);
        field.draw(m_Scene, t, kValues[frame]);
        t.FillGeometry(*m_Scene.right, *m_Scene.grey);
        if (moving) {
            t.SetTransform(Gfx::Matrix3x2::Translation(10.0f * frame, 60));
            t.FillGeometry(*m_Scene.dot, *m_Scene.black);
            t.SetTransform({});
        }
        EXPECT_EQ(t.EndDraw(), Gfx::kOk);
    }

    Scene m_Scene;
};

TEST_P(ReuseFields, FramesThatDifferOnlyThereDrawWhatDirectDrawingDraws) {
    for (const bool moving : {false, true}) {
        SCOPED_TRACE(moving ? "beside a moving shape" : "still");
        auto direct = TargetIn(Direct(), kSide, kSide);
        ASSERT_TRUE(direct);
        std::vector<std::vector<uint8_t>> expected;
        for (int frame = 0; frame < kFrames; ++frame) {
            Draw(*direct, frame, moving);
            expected.push_back(PixelsOf(*direct));
        }
        ASSERT_FALSE(Bench::Compare(expected[2], expected[3]).Tolerable())
            << "the two values look alike: the case tests nothing";
        for (const Mode& mode : RecordedModes(true)) {
            SCOPED_TRACE(mode.name);
            auto t = TargetIn(mode.options, kSide, kSide);
            ASSERT_TRUE(t);
            for (int frame = 0; frame < kFrames; ++frame) {
                Draw(*t, frame, moving);
                const Bench::Difference d = Bench::Compare(PixelsOf(*t), expected[frame]);
                EXPECT_TRUE(d.Tolerable())
                    << "frame " << frame << " (value " << kValues[frame] << " after "
                    << kValues[frame > 0 ? frame - 1 : 0] << "): max " << d.max << ", " << d.overTwo
                    << " pixels over 2";
                const Gfx::RasterStats& stats = t->GetRasterStats();
                if (frame > 0 && kValues[frame] == kValues[frame - 1]) {
                    EXPECT_TRUE(stats.frameReused || stats.opsFromLayers >= 2)
                        << "frame " << frame << " reused nothing: the case tests nothing";
                }
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(EachField, ReuseFields, ::testing::ValuesIn(Fields()),
                         [](const ::testing::TestParamInfo<Field>& field) {
                             return field.param.name;
                         });

// A shape that cannot be held for later (owned by no shared pointer) is drawn at once, in
// order. When that happens before anything of the frame was recorded, the target no longer
// holds the last frame, so a frame that then records the same calls as the last one must
// still be drawn, over what the shape left.
TEST(ReuseAfterDirectDraw, AShapeDrawnAtOnceIsNotLeftUnderAReusedFrame) {
    Scene s;
    Gfx::PathData data;
    data.figures.push_back({{0, 0},
                            {{Gfx::PathFigure::Kind::Line, {}, {}, {kSide, 0}},
                             {Gfx::PathFigure::Kind::Line, {}, {}, {kSide, kSide}},
                             {Gfx::PathFigure::Kind::Line, {}, {}, {0, kSide}}},
                            true});
    const Gfx::Geometry unowned(data);  // on the stack: nothing can hold it
    // Whether the unowned square comes first, in the middle, or not at all.
    enum class Square { None, First, Middle };
    const Square frames[] = {Square::None,   Square::First, Square::None, Square::First,
                             Square::Middle, Square::None,  Square::None};
    const auto draw = [&](Gfx::RenderTarget& t, Square square) {
        t.BeginDraw();
        if (square == Square::First)
            t.FillGeometry(unowned, *s.black);
        t.Clear(kWhite);
        t.FillGeometry(*s.left, *s.grey);
        if (square == Square::Middle)
            t.FillGeometry(unowned, *s.blue);
        t.FillGeometry(*s.oval, *s.red);
        t.FillGeometry(*s.right, *s.grey);
        EXPECT_EQ(t.EndDraw(), Gfx::kOk);
        return PixelsOf(t);
    };
    auto direct = TargetIn(Direct(), kSide, kSide);
    ASSERT_TRUE(direct);
    for (const Mode& mode : RecordedModes(true)) {
        SCOPED_TRACE(mode.name);
        auto t = TargetIn(mode.options, kSide, kSide);
        ASSERT_TRUE(t);
        for (size_t frame = 0; frame < sizeof(frames) / sizeof(frames[0]); ++frame) {
            const Bench::Difference d =
                Bench::Compare(draw(*t, frames[frame]), draw(*direct, frames[frame]));
            EXPECT_TRUE(d.Tolerable()) << "frame " << frame << ": max " << d.max;
        }
        EXPECT_TRUE(t->GetRasterStats().frameReused) << "the last frame was not reused";
    }
}

}  // namespace
