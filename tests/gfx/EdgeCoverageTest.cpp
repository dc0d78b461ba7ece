#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <random>

#include "ExactCoverage.h"
#include "Gfx/Raster/ScanConverter.h"
#include "GfxTestSupport.h"

using namespace GfxTest;

namespace {

constexpr int kSide = 64;

// A black fill of geometry with smoothed edges on white, in the given raster mode.
std::shared_ptr<Gfx::RenderTarget> Filled(const Gfx::Geometry& geometry,
                                          Gfx::RasterOptions options = {},
                                          Gfx::Matrix3x2 transform = {}) {
    std::shared_ptr<Gfx::RenderTarget> target;
    Gfx::RenderTarget::Create(kSide, kSide, 96, &target);
    target->SetRasterOptions(options);
    target->BeginDraw();
    target->Clear({1, 1, 1, 1});
    target->SetTransform(transform);
    target->SetAntialiasMode(Gfx::AntialiasMode::PerPrimitive);
    target->FillGeometry(geometry, *Solid(0, 0, 0));
    target->EndDraw();
    return target;
}

// How much of pixel (x, y) is covered, read back from black on white, 0..255.
int Covered(Gfx::RenderTarget& t, int x, int y) {
    return 255 - At(t, x, y).g;
}

// The largest difference from exact coverage over the target, in levels of 255.
int WorstAgainstExact(Gfx::RenderTarget& t, const Polygon& exact) {
    int worst = 0;
    for (int y = 0; y < kSide; ++y)
        for (int x = 0; x < kSide; ++x) {
            const int want = static_cast<int>(std::lround(PixelCoverage(exact, x, y) * 255));
            worst = std::max(worst, std::abs(Covered(t, x, y) - want));
        }
    return worst;
}

Gfx::RasterOptions Direct() {
    Gfx::RasterOptions o;
    o.record = false;
    return o;
}

Gfx::RasterOptions Threads(unsigned n) {
    Gfx::RasterOptions o;
    o.threads = n;
    o.reuse = false;
    return o;
}

}  // namespace

// Polygons at arbitrary sub-pixel positions cover each pixel by its exact share of area,
// whether drawn at once or recorded and drawn in bands on threads.
TEST(EdgeCoverage, PolygonsCoverEachPixelByItsExactArea) {
    std::mt19937 random(7);
    std::uniform_real_distribution<float> at(2, kSide - 2);
    for (int i = 0; i < 20; ++i) {
        Polygon p;
        for (int k = 0; k < 3 + i % 3; ++k) p.push_back({at(random), at(random)});
        if (i % 3 == 2) {  // keep quadrilaterals convex: a rectangle turned about its centre
            const float cx = at(random) / 2 + 16, cy = at(random) / 2 + 16, a = at(random);
            p = {{cx + 15 * std::cos(a), cy + 15 * std::sin(a)},
                 {cx - 9 * std::sin(a), cy + 9 * std::cos(a)},
                 {cx - 15 * std::cos(a), cy - 15 * std::sin(a)},
                 {cx + 9 * std::sin(a), cy - 9 * std::cos(a)}};
        }
        if (i % 3 == 1)
            p.resize(3);
        const auto geometry = PolygonGeometry(p);
        for (const Gfx::RasterOptions& options : {Direct(), Threads(1), Threads(2)})
            EXPECT_LE(WorstAgainstExact(*Filled(*geometry, options), p), 1) << "polygon " << i;
    }
}

TEST(EdgeCoverage, AnEdgeMovedByAnEighthOfAPixelMovesItsPixelsByAnEighth) {
    const auto at = [](float right) {
        auto t = Filled(*Rect(10, 10, right, 30));
        return Covered(*t, 20, 20);
    };
    EXPECT_EQ(at(20.5f), 128);
    EXPECT_NEAR(at(20.625f), 159, 1);
    EXPECT_NEAR(at(20.375f), 96, 1);
    EXPECT_EQ(at(21), 255);
}

// Two squares wound the same way overlap: the overlap is inside under the non-zero rule and
// outside under even-odd; a self-intersecting bow tie covers both its triangles either way.
TEST(EdgeCoverage, NonZeroAndEvenOddRulesAndSelfIntersection) {
    const auto squares = [](Gfx::FillMode mode) {
        Gfx::PathBuilder b;
        b.SetFillMode(mode);
        for (float o : {10.0f, 20.0f}) {
            b.BeginFigure({o, o}, Gfx::FigureBegin::Filled);
            b.AddLine({o + 20, o});
            b.AddLine({o + 20, o + 20});
            b.AddLine({o, o + 20});
            b.EndFigure(Gfx::FigureEnd::Closed);
        }
        b.Close();
        return b.GetGeometry();
    };
    // In place the squares become a dense mask; moved across the right side, sparse spans.
    for (float dx : {0.0f, 30.0f}) {
        const Gfx::Matrix3x2 move = Gfx::Matrix3x2::Translation(dx, 0);
        auto winding = Filled(*squares(Gfx::FillMode::Winding), {}, move);
        auto alternate = Filled(*squares(Gfx::FillMode::Alternate), {}, move);
        const int x = static_cast<int>(dx);
        EXPECT_EQ(Covered(*winding, x + 25, 25), 255) << dx;
        EXPECT_EQ(Covered(*alternate, x + 25, 25), 0) << dx;
        EXPECT_EQ(Covered(*alternate, x + 15, 15), 255) << dx;
        EXPECT_EQ(Covered(*winding, x + 15, 15), 255) << dx;
    }

    const Polygon bowTie{{10, 10}, {50, 40}, {50, 10}, {10, 40}};
    for (Gfx::FillMode mode : {Gfx::FillMode::Winding, Gfx::FillMode::Alternate}) {
        auto t = Filled(*PolygonGeometry(bowTie, mode));
        const Polygon left{{10, 10}, {30, 25}, {10, 40}}, right{{30, 25}, {50, 10}, {50, 40}};
        for (int y = 0; y < kSide; ++y)
            for (int x = 0; x < kSide; ++x) {
                const double exact = PixelCoverage(left, x, y) + PixelCoverage(right, x, y);
                ASSERT_NEAR(Covered(*t, x, y), exact * 255, 1.5) << x << "," << y;
            }
    }
}

// Curves are flattened finely enough that no pixel strays far from the exact ellipse.
TEST(EdgeCoverage, EllipsesStayCloseToExactCoverage) {
    for (float scale : {1.0f, 0.37f, 2.5f}) {
        const Gfx::Matrix3x2 m{scale, 0, 0, scale, 0.3f, 0.45f};
        auto t = Filled(*Ellipse(30 / scale, 28 / scale, 25 / scale, 17 / scale), {}, m);
        const Polygon exact = EllipsePolygon(30.3, 28.45, 25, 17);
        EXPECT_LE(WorstAgainstExact(*t, exact), 8) << "scale " << scale;
    }
}

// Outlines reaching far beyond the target, and outlines of very many points, draw what
// shows of them in bounded time.
TEST(EdgeCoverage, FarCoordinatesAndHugePathsStayBounded) {
    const Polygon huge{{-9.9e6f, -9.9e6f}, {9.9e6f, -9.8e6f}, {20.5f, 9.9e6f}};
    auto t = Filled(*PolygonGeometry(huge));
    EXPECT_EQ(Covered(*t, 5, 5), 255);
    EXPECT_EQ(Covered(*t, 60, 60), 255);

    // A far curve must not be split into millions of lines.
    Gfx::PathBuilder b;
    b.SetFillMode(Gfx::FillMode::Winding);
    b.BeginFigure({10, 10}, Gfx::FigureBegin::Filled);
    b.AddBezier({9e6f, -9e6f}, {-9e6f, 9e6f}, {50, 10});
    b.AddLine({50, 50});
    b.EndFigure(Gfx::FigureEnd::Closed);
    b.Close();
    const auto start = std::chrono::steady_clock::now();
    Filled(*b.GetGeometry());

    Polygon many;
    for (int i = 0; i < 100000; ++i) {
        const double a = 2 * M_PI * i / 100000, r = i % 2 ? 28 : 20;
        many.push_back({static_cast<float>(32 + r * std::cos(a)),
                        static_cast<float>(32 + r * std::sin(a))});
    }
    auto star = Filled(*PolygonGeometry(many));
    EXPECT_EQ(Covered(*star, 32, 32), 255);
    EXPECT_EQ(Covered(*star, 1, 1), 0);
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_LT(seconds, 10) << "far curves or many points took far too long";
}

// Aliased drawing keeps its rule: a pixel is covered when its centre is inside, whatever
// converter covers smoothed edges, with edges lying exactly on pixel centres.
TEST(EdgeCoverage, AliasedFillsAreUnchangedAndFollowPixelCentres) {
    const auto aliased = [](bool ownEdges) {
        Gfx::RasterOptions o;
        o.ownEdges = ownEdges;
        std::shared_ptr<Gfx::RenderTarget> t;
        Gfx::RenderTarget::Create(kSide, kSide, 96, &t);
        t->SetRasterOptions(o);
        t->BeginDraw();
        t->Clear({1, 1, 1, 1});
        t->FillGeometry(*Rect(10.5f, 10.5f, 20.5f, 20.5f), *Solid(0, 0, 0));
        t->FillGeometry(*Ellipse(40.5f, 40.5f, 10, 7.5f), *Solid(0, 0, 0));
        t->EndDraw();
        const uint8_t* p = t->GetPixels();
        return std::vector<uint8_t>(p, p + t->GetStride() * kSide);
    };
    const std::vector<uint8_t> ours = aliased(true), cairo = aliased(false);
    EXPECT_EQ(ours, cairo);
    for (int v : ours) EXPECT_TRUE(v == 0 || v == 255);
}

// An edge can lose its height to rounding once moved next to the converter's origin: it
// must add nothing, not a position that is not a number.
TEST(EdgeCoverage, EdgesThatLoseTheirHeightToRoundingAddNothing) {
    Gfx::EdgeList edges;
    edges.Reset({-8, -8, 8, 8});
    edges.Line(0, -7.5, 4, 0.3);
    edges.Line(4, 0.3, 6, 0.3000001);  // distinct floats about 0.3, one float about 8.3
    edges.Line(6, 0.3000001, 0, -7.5);
    Gfx::ScanConverter converter;
    Gfx::CoverStore store;
    const Gfx::Cover cover = converter.Convert(edges, Gfx::FillMode::Winding, &store);
    ASSERT_TRUE(cover.dense);
    EXPECT_EQ(cover.top, -8);
    EXPECT_EQ(cover.bottom, 1);
    int covered = 0;
    for (int y = cover.top; y < cover.bottom; ++y) {
        const Gfx::MaskRow r = cover.MaskRange(y);
        for (int x = r.begin; x < r.end; ++x) covered += cover.MaskRowAt(y)[x] > 0;
    }
    EXPECT_GT(covered, 10);
}
