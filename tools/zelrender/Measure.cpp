// Timings and memory over many frames at 60 fps from the load time.
#include <malloc.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <iostream>
#include <vector>

#include "Modes.h"

namespace ZEL {

namespace {

using Clock = std::chrono::steady_clock;

uint32_t FrameTime(const Options& o, int i) {
    return o.start + static_cast<uint32_t>((static_cast<uint64_t>(i) * 1000) / 60);
}

int64_t Micros(Clock::duration d) {
    return std::chrono::duration_cast<std::chrono::microseconds>(d).count();
}

int64_t Percentile(std::vector<int64_t> values, double fraction) {
    std::sort(values.begin(), values.end());
    const size_t index =
        static_cast<size_t>(fraction * static_cast<double>(values.size() - 1) + 0.5);
    return values[std::min(index, values.size() - 1)];
}

// Resident memory in KiB, from the kernel's own count, after handing free heap back so
// that only memory in use is counted.
long ResidentKiB() {
    malloc_trim(0);
    long pages = 0, resident = 0;
    if (FILE* f = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2) {
            resident = 0;
        }
        std::fclose(f);
    }
    return resident * 4;
}

}  // namespace

// Update, then Render (the recording) and EndDraw (the rasterising), timed apart.
int RunBench(const Options& o, DocumentRenderer& renderer) {
    std::vector<int64_t> updates, renders, records, rasters, covers, paints, frames;
    size_t masksMade = 0, glyphsDrawn = 0;
    Gfx::RenderTarget& target = renderer.Target();
    IScenimator& document = renderer.Document();
    std::string error;
    for (int i = 0; i < o.bench; ++i) {
        const auto t0 = Clock::now();
        if (!renderer.Update(FrameTime(o, i), &error)) {
            Fail(error);
        }
        const auto t1 = Clock::now();
        target.BeginDraw();
        target.Clear(Gfx::ColorF{1, 1, 1, 1});
        if (document.Render(Gfx::Matrix3x2::Identity(), nullptr) != kSuccess) {
            Fail(document.GetErrorText());
        }
        const auto recorded = Clock::now();
        if (target.EndDraw() != Gfx::kOk) {
            Fail("Rendering Error");
        }
        const auto t2 = Clock::now();
        updates.push_back(Micros(t1 - t0));
        renders.push_back(Micros(t2 - t1));
        records.push_back(Micros(recorded - t1));
        rasters.push_back(Micros(t2 - recorded));
        const Gfx::RasterStats& stats = target.GetRasterStats();
        covers.push_back(static_cast<int64_t>(stats.coverMs * 1000 + 0.5));
        paints.push_back(static_cast<int64_t>(stats.paintMs * 1000 + 0.5));
        masksMade += stats.glyphMasksMade;
        glyphsDrawn += stats.glyphsDrawn;
        frames.push_back(Micros(t2 - t0));
    }
    std::cout << "bench frames=" << o.bench << " update_median_us=" << Percentile(updates, 0.5)
              << " update_p99_us=" << Percentile(updates, 0.99)
              << " render_median_us=" << Percentile(renders, 0.5)
              << " render_p99_us=" << Percentile(renders, 0.99)
              << " record_median_us=" << Percentile(records, 0.5)
              << " raster_median_us=" << Percentile(rasters, 0.5)
              << " cover_median_us=" << Percentile(covers, 0.5)
              << " paint_median_us=" << Percentile(paints, 0.5)
              << " frame_median_us=" << Percentile(frames, 0.5)
              << " frame_p99_us=" << Percentile(frames, 0.99)
              << " frame_max_us=" << *std::max_element(frames.begin(), frames.end());
    if (glyphsDrawn)
        std::cout << " glyphs=" << glyphsDrawn << " glyph_masks_made=" << masksMade;
    std::cout << std::endl;
    return 0;
}

// Resident memory after 1,000 frames, after 10,000 (past the first use of everything a
// 154 s show draws) and at the end, so growth over a long run shows.
int RunSoak(const Options& o, DocumentRenderer& renderer) {
    long early = 0, warm = 0;
    std::string error;
    for (int i = 0; i < o.soak; ++i) {
        if (!renderer.Frame(FrameTime(o, i), &error)) {
            Fail(error);
        }
        if (i + 1 == std::min(o.soak, 1000)) {
            early = ResidentKiB();
        }
        if (i + 1 == std::min(o.soak, 10000)) {
            warm = ResidentKiB();
        }
    }
    std::cout << "soak frames=" << o.soak << " rss_kib_after_1000=" << early
              << " rss_kib_after_10000=" << warm << " rss_kib_end=" << ResidentKiB() << std::endl;
    return 0;
}

}  // namespace ZEL
