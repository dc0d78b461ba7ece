#pragma once
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "FrameDifference.h"
#include "Frames.h"
#include "Gfx/RasterOptions.h"
#include "Scene.h"

// How close the engine's antialiased edges come to exact area coverage.
namespace Bench {

constexpr int kExactScale = 8;  // the reference is drawn this many times larger
// At most this share of a frame's pixels may be off exact coverage by more than 32.
constexpr double kMaxOverThirtyTwoPercent = 0.1;
// What paints alone move the mean by: a gradient sampled 64 times a pixel and averaged
// rounds differently from one sampled once (up to 0.004 on the benchmark scenes), so means
// closer than this are equal.
constexpr double kMeanSlack = 0.01;

// A rectangle of a frame, in pixels.
struct Region {
    int left = 0, top = 0, width = kWidth, height = kHeight;
};

// Cairo drawing every call at once, edges and all: the edges of every reference, and the
// baseline the engine's own edges are held against.
Gfx::RasterOptions CairoDirect();

// The scene's frame at time t with exact area coverage, as near as a drawing shows it: the
// region drawn scale times larger (the moving translation at t, or the static scene's own
// offset, applied as a constant) in the given raster mode and averaged scale x scale, in
// tiles of at most 400x300 pixels so that the large drawing stays small. Documents go to
// dir, which must hold bitmap.png.
Frame ExactFrame(const Scene& scene, uint32_t t, const Region& region,
                 const std::filesystem::path& dir, int scale = kExactScale,
                 const Gfx::RasterOptions& mode = CairoDirect());

// A way the engine turns a frame into pixels, measured against exact coverage and held to the
// bar beside the baseline (the edges the engine drew before it had a scan converter of its
// own). Each mode's reference is drawn in a mode that paints as it paints (gradient spans or
// Cairo's gradients) with Cairo's edges, so that only coverage is compared.
struct EngineMode {
    std::string name;
    Gfx::RasterOptions options;
    Gfx::RasterOptions reference;
    bool baseline = false;
};
std::vector<EngineMode> FidelityModes();

// The bar on one frame: the mean difference (within kMeanSlack) and the share of pixels off
// by more than 8 no larger than the baseline's, and at most kMaxOverThirtyTwoPercent off by
// more than 32.
struct Bar {
    bool mean = true, overEight = true, overThirtyTwo = true;
    bool Held() const { return mean && overEight && overThirtyTwo; }
    // "held", or the measures that missed ("mean,over_8,over_32").
    std::string Verdict() const;
};
Bar Judge(const Deviation& mode, const Deviation& baseline);

}  // namespace Bench
