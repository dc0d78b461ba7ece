#include "Fidelity.h"

#include <algorithm>

namespace Bench {

namespace {

constexpr int kTileWidth = 400, kTileHeight = 300;

// The large drawing averaged back down into out at (left, top), rounding to nearest.
void Average(const Frame& big, int scale, int left, int top, Frame* out) {
    const int area = scale * scale;
    for (int y = 0; y < big.height / scale; ++y)
        for (int x = 0; x < big.width / scale; ++x)
            for (int c = 0; c < 4; ++c) {
                int sum = 0;
                for (int j = 0; j < scale; ++j)
                    for (int i = 0; i < scale; ++i) sum += big.At(x * scale + i, y * scale + j, c);
                out->pixels[(static_cast<size_t>(top + y) * out->width + left + x) * 4 + c] =
                    static_cast<uint8_t>((sum + area / 2) / area);
            }
}

}  // namespace

Gfx::RasterOptions CairoDirect() {
    Gfx::RasterOptions direct;
    direct.record = false;
    direct.ownEdges = false;
    return direct;
}

Frame ExactFrame(const Scene& scene, uint32_t t, const Region& region,
                 const std::filesystem::path& dir, int scale, const Gfx::RasterOptions& mode) {
    double moveX = 0, moveY = 0;
    if (scene.moving)
        MoveAt(t, &moveX, &moveY);
    Frame exact{region.width, region.height, {}};
    exact.pixels.resize(static_cast<size_t>(region.width) * region.height * 4);
    for (int top = 0; top < region.height; top += kTileHeight)
        for (int left = 0; left < region.width; left += kTileWidth) {
            const int w = std::min(kTileWidth, region.width - left);
            const int h = std::min(kTileHeight, region.height - top);
            // Page point p lands at scene.scale (p + offset) in the frame; the tile's corner
            // there must land at the large target's origin.
            Scene tile = scene;
            tile.moving = false;
            tile.scale = scene.scale * scale;
            tile.offsetX = scene.offsetX + (moveX - region.left - left) / scene.scale;
            tile.offsetY = scene.offsetY + (moveY - region.top - top) / scene.scale;
            Player big(WriteDocument(tile, dir, "_exact"), mode, static_cast<uint32_t>(w * scale),
                       static_cast<uint32_t>(h * scale));
            big.Draw(0);
            Average(big.Pixels(), scale, left, top, &exact);
        }
    return exact;
}

std::vector<EngineMode> FidelityModes() {
    // The engine's reference: its paints (gradient spans) in bands, edges covered by Cairo
    // (Cairo's edges at 8x are the reference), without reuse: a single large frame has
    // nothing to reuse.
    Gfx::RasterOptions spans;
    spans.reuse = false;
    spans.ownEdges = false;
    return {{"engine", Gfx::RasterOptions{}, spans, false},
            {"cairo", CairoDirect(), CairoDirect(), true}};
}

std::string Bar::Verdict() const {
    if (Held())
        return "held";
    std::string missed;
    for (const auto& m : {std::make_pair(mean, "mean"), std::make_pair(overEight, "over_8"),
                          std::make_pair(overThirtyTwo, "over_32")})
        if (!m.first)
            missed += (missed.empty() ? "" : ",") + std::string(m.second);
    return "missed:" + missed;
}

Bar Judge(const Deviation& mode, const Deviation& baseline) {
    Bar b;
    b.mean = mode.mean <= baseline.mean + kMeanSlack;
    b.overEight = mode.overEight <= baseline.overEight;
    b.overThirtyTwo = mode.OverThirtyTwoPercent() <= kMaxOverThirtyTwoPercent;
    return b;
}

}  // namespace Bench
