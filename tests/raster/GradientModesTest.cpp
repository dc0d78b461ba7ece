#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "FrameDifference.h"
#include "Gfx/RenderTarget.h"
#include "RasterModes.h"

// Gradients painted in every raster mode hold the colours worked out here from their
// geometry, at pixel centres, in each extend mode and under turned and stretched transforms.
// Known colours, not only one mode against another: a fault made the same way in every mode
// (repeat and reflect swapped, say) would pass any comparison between modes.

namespace {

using namespace RasterTest;

constexpr int kSide = 128;          // two tiles of 64 rows, so bands meet in the middle
constexpr int kStep = 3;            // pixels checked: every third of every third row
constexpr int kTolerance = 3;       // per channel: the gradient table and Cairo's own rounding
constexpr double kNearJump = 0.04;  // of t: pixels this close to a jump in colour are skipped

Gfx::ColorF Mix(Gfx::ColorF a, Gfx::ColorF b, double f) {
    const auto mix = [f](float x, float y) { return static_cast<float>(x + (y - x) * f); };
    return {mix(a.r, b.r), mix(a.g, b.g), mix(a.b, b.b), mix(a.a, b.a)};
}

// A gradient's stops (within 0..1, sorted) and extend mode, as plain numbers.
struct Ramp {
    std::vector<Gfx::GradientStop> stops;
    Gfx::ExtendMode extend;

    // t mapped into 0..1; nan where the colour jumps too near t to say which side a pixel
    // takes.
    double Unit(double t) const {
        double u = t;
        switch (extend) {
            case Gfx::ExtendMode::Clamp:
                u = std::min(1.0, std::max(0.0, t));
                break;
            case Gfx::ExtendMode::Wrap:
                if (std::fabs(t - std::round(t)) < kNearJump)
                    return NAN;
                u = t - std::floor(t);
                break;
            case Gfx::ExtendMode::Mirror:
                u = std::fabs(t - 2 * std::round(t / 2));
                break;
        }
        for (size_t i = 1; i < stops.size(); ++i)
            if (stops[i].position == stops[i - 1].position &&
                std::fabs(u - stops[i].position) < kNearJump)
                return NAN;
        return u;
    }
    // The colour at u in 0..1: of stops at one position, the later one holds from there on.
    Gfx::ColorF At(double u) const {
        if (u <= stops.front().position)
            return stops.front().color;
        size_t i = 0;
        while (i + 1 < stops.size() && stops[i + 1].position <= u) ++i;
        if (i + 1 == stops.size())
            return stops.back().color;
        const Gfx::GradientStop& a = stops[i];
        const Gfx::GradientStop& b = stops[i + 1];
        return Mix(a.color, b.color, (u - a.position) / (b.position - a.position));
    }
};

const Gfx::ColorF kRose{0.9f, 0.1f, 0.2f, 1}, kSky{0.1f, 0.7f, 1.0f, 1};
const Gfx::ColorF kMoss{0.3f, 0.6f, 0.1f, 1}, kSand{1.0f, 0.85f, 0.5f, 1};

Ramp Smooth(Gfx::ExtendMode extend) {
    return {{{0, kRose}, {1, kSky}}, extend};
}

// A hard stop half way: such gradients take another path through the painter.
Ramp Hard(Gfx::ExtendMode extend) {
    return {{{0, kRose}, {0.5f, kSky}, {0.5f, kMoss}, {1, kSand}}, extend};
}

const char* Name(Gfx::ExtendMode m) {
    return m == Gfx::ExtendMode::Clamp ? "pad"
                                       : (m == Gfx::ExtendMode::Wrap ? "repeat" : "reflect");
}

// Where the shape sits: the target's transform and the brush's own.
struct Placement {
    const char* name;
    Gfx::Matrix3x2 target, brush;
};

std::vector<Placement> Placements() {
    return {
        {"upright", {}, {}},
        {"target turned 35 degrees", Gfx::Matrix3x2::Rotation(35, 64, 64), {}},
        {"target turned 200 degrees and stretched",
         Gfx::Multiply(Gfx::Matrix3x2::Rotation(200, 64, 64), Gfx::Matrix3x2::Scale(1.1f, 0.8f)),
         {}},
        {"brush turned and stretched",
         {},
         Gfx::Multiply(Gfx::Matrix3x2::Scale(1.3f, 0.7f), Gfx::Matrix3x2::Rotation(-50, 50, 40))}};
}

// One gradient brush and how to find t at a point of its own (brush) space.
struct Gradient {
    std::function<std::shared_ptr<Gfx::Brush>(std::shared_ptr<Gfx::GradientStopCollection>)> make;
    std::function<double(Gfx::Point2F)> t;
};

// The axis runs on a slant, so that a turn moves both coordinates of every step along it.
Gradient Linear() {
    const Gfx::Point2F a{30, 20}, b{70, 45};
    return {[a, b](std::shared_ptr<Gfx::GradientStopCollection> stops) {
                return std::make_shared<Gfx::LinearGradientBrush>(a, b, std::move(stops),
                                                                  Gfx::BrushProperties{});
            },
            [a, b](Gfx::Point2F p) {
                const double dx = b.x - a.x, dy = b.y - a.y;
                return ((p.x - a.x) * dx + (p.y - a.y) * dy) / (dx * dx + dy * dy);
            }};
}

// An ellipse with its focus off centre. t is the largest whose circle, grown from the focus
// (radius 0) to the unit circle (radius 1) in the ellipse's own units, passes through p.
Gradient Radial() {
    const Gfx::Point2F c{64, 60}, offset{12, -6};
    const float rx = 36, ry = 24;
    return {[=](std::shared_ptr<Gfx::GradientStopCollection> stops) {
                return std::make_shared<Gfx::RadialGradientBrush>(
                    c, offset, rx, ry, std::move(stops), Gfx::BrushProperties{});
            },
            [=](Gfx::Point2F p) {
                const double px = (p.x - c.x) / rx, py = (p.y - c.y) / ry;
                const double fx = offset.x / rx, fy = offset.y / ry;
                // |p - f (1 - t)| = t, a quadratic in t.
                const double wx = px - fx, wy = py - fy, fw = fx * wx + fy * wy;
                const double k = 1 - (fx * fx + fy * fy);
                return (fw + std::sqrt(fw * fw + k * (wx * wx + wy * wy))) / k;
            }};
}

std::shared_ptr<Gfx::GradientStopCollection> StopsOf(const Ramp& ramp) {
    std::shared_ptr<Gfx::GradientStopCollection> c;
    EXPECT_EQ(Gfx::CreateGradientStopCollection(ramp.stops.data(),
                                                static_cast<uint32_t>(ramp.stops.size()),
                                                static_cast<int>(ramp.extend), &c),
              Gfx::kOk);
    return c;
}

// Two frames of the gradient filling the whole target (aliased, so no edge shows), in one
// mode; the second may be taken from the first. The pixels of each.
std::vector<std::vector<uint8_t>> Paint(const Gfx::RasterOptions& options, const Gfx::Brush& brush,
                                        const Placement& where) {
    auto t = TargetIn(options, kSide, kSide);
    std::shared_ptr<Gfx::Geometry> everywhere;
    EXPECT_EQ(Gfx::CreateRectangleGeometry({-300, -300, 400, 400}, &everywhere), Gfx::kOk);
    std::vector<std::vector<uint8_t>> frames;
    for (int frame = 0; frame < 2; ++frame) {
        t->BeginDraw();
        t->Clear({1, 1, 1, 1});
        t->SetTransform(where.target);
        t->FillGeometry(*everywhere, brush);
        t->SetTransform({});
        EXPECT_EQ(t->EndDraw(), Gfx::kOk);
        frames.push_back(PixelsOf(*t));
    }
    return frames;
}

// Every checked pixel within kTolerance of the colour the ramp gives there.
// Brush space of each device pixel's centre; false for a singular placement.
bool ToBrush(const Placement& where, Gfx::Matrix3x2* out) {
    *out = Gfx::Multiply(where.brush, where.target);
    return Gfx::Invert(*out);
}

// The pixels with those next to a jump in colour blanked: which side such a pixel takes
// depends on the last bit of its t, which differs between ways of painting.
std::vector<uint8_t> AwayFromJumps(std::vector<uint8_t> pixels, const Ramp& ramp,
                                   const Gradient& gradient, const Placement& where) {
    Gfx::Matrix3x2 toBrush;
    if (!ToBrush(where, &toBrush))
        return {};
    for (int y = 0; y < kSide; ++y)
        for (int x = 0; x < kSide; ++x)
            if (std::isnan(ramp.Unit(gradient.t(toBrush.Apply({x + 0.5f, y + 0.5f})))))
                std::fill_n(&pixels[(static_cast<size_t>(y) * kSide + x) * 4], 4, 0);
    return pixels;
}

::testing::AssertionResult HoldsTheRamp(const std::vector<uint8_t>& pixels, const Ramp& ramp,
                                        const Gradient& gradient, const Placement& where) {
    Gfx::Matrix3x2 toBrush;
    if (!ToBrush(where, &toBrush))
        return ::testing::AssertionFailure() << "a singular placement";
    size_t checked = 0, wrong = 0;
    std::ostringstream first;
    for (int y = 1; y < kSide; y += kStep) {
        for (int x = 0; x < kSide; x += kStep) {
            const Gfx::Point2F p = toBrush.Apply({x + 0.5f, y + 0.5f});
            const double t = gradient.t(p);
            const double u = ramp.Unit(t);
            if (std::isnan(u))
                continue;
            ++checked;
            const Gfx::ColorF c = ramp.At(u);
            const Rgba want{static_cast<int>(std::lround(c.r * 255)),
                            static_cast<int>(std::lround(c.g * 255)),
                            static_cast<int>(std::lround(c.b * 255)), 255};
            const Rgba got = PixelAt(pixels, kSide, x, y);
            if (std::abs(got.r - want.r) > kTolerance || std::abs(got.g - want.g) > kTolerance ||
                std::abs(got.b - want.b) > kTolerance || got.a != want.a) {
                if (wrong++ == 0)
                    first << "(" << x << ", " << y << ") at t " << t << ": " << got.r << ","
                          << got.g << "," << got.b << "," << got.a << " where " << want.r << ","
                          << want.g << "," << want.b << " was due";
            }
        }
    }
    if (checked < 1000)
        return ::testing::AssertionFailure() << "only " << checked << " pixels checked";
    if (wrong > 0)
        return ::testing::AssertionFailure()
               << wrong << " of " << checked << " pixels off, the first " << first.str();
    return ::testing::AssertionSuccess();
}

// Each extend mode and placement in every raster mode: known colours at pixel centres, and
// the frames of recorded modes within rounding of direct drawing away from jumps.
void CheckEveryModeOf(const Gradient& gradient, Ramp (*ramp)(Gfx::ExtendMode)) {
    for (const Gfx::ExtendMode extend :
         {Gfx::ExtendMode::Clamp, Gfx::ExtendMode::Wrap, Gfx::ExtendMode::Mirror}) {
        const Ramp r = ramp(extend);
        const auto brush = gradient.make(StopsOf(r));
        for (const Placement& where : Placements()) {
            brush->SetTransform(where.brush);
            std::vector<uint8_t> direct;  // the first mode's first frame
            for (const Mode& mode : EveryMode()) {
                SCOPED_TRACE(std::string(Name(extend)) + ", " + where.name + ", " + mode.name);
                const auto frames = Paint(mode.options, *brush, where);
                for (size_t frame = 0; frame < frames.size(); ++frame) {
                    EXPECT_TRUE(HoldsTheRamp(frames[frame], r, gradient, where))
                        << "frame " << frame;
                    const auto steady = AwayFromJumps(frames[frame], r, gradient, where);
                    if (direct.empty())
                        direct = steady;
                    const Bench::Difference d = Bench::Compare(steady, direct);
                    EXPECT_TRUE(d.Tolerable())
                        << "frame " << frame << " against direct drawing: max " << d.max << ", "
                        << d.overTwo << " pixels over 2";
                }
            }
        }
    }
}

TEST(GradientModes, LinearInEveryExtendModeTurnedOrNot) {
    CheckEveryModeOf(Linear(), Smooth);
}

TEST(GradientModes, RadialWithAFocusInEveryExtendModeTurnedOrNot) {
    CheckEveryModeOf(Radial(), Smooth);
}

// Hard stops are painted whole rather than in bands; the extend modes must hold there too.
TEST(GradientModes, HardStopsInEveryExtendMode) {
    CheckEveryModeOf(Linear(), Hard);
    CheckEveryModeOf(Radial(), Hard);
}

}  // namespace
