#pragma once
#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "Gfx/RenderTarget.h"

// The raster modes of a render target, and the pixels of its frames, through the drawing
// layer's own interface only.
namespace RasterTest {

// Every call drawn at once on one thread: the reference the other modes are held to.
inline Gfx::RasterOptions Direct() {
    Gfx::RasterOptions o;
    o.record = false;
    return o;
}

// Recorded; text is covered as paths, as drawing at once covers it, unless glyphCache.
inline Gfx::RasterOptions Recorded(unsigned threads, bool fastGradients, bool reuse,
                                   bool glyphCache = false) {
    Gfx::RasterOptions o;
    o.threads = threads;
    o.fastGradients = fastGradients;
    o.reuse = reuse;
    o.glyphCache = glyphCache;
    return o;
}

struct Mode {
    std::string name;
    Gfx::RasterOptions options;
};

// Recorded on 1 and 2 threads, with and without gradient spans, keeping the last frame and
// its layers or not.
inline std::vector<Mode> RecordedModes(bool reuse) {
    std::vector<Mode> modes;
    for (const unsigned threads : {1u, 2u}) {
        for (const bool spans : {false, true}) {
            modes.push_back({std::to_string(threads) + (threads == 1 ? " thread" : " threads") +
                                 (spans ? ", gradient spans" : ", Cairo gradients") +
                                 (reuse ? ", reuse" : ", no reuse"),
                             Recorded(threads, spans, reuse)});
        }
    }
    return modes;
}

// Direct, then every recorded mode.
inline std::vector<Mode> EveryMode() {
    std::vector<Mode> modes{{"direct", Direct()}};
    for (const bool reuse : {false, true})
        for (Mode& m : RecordedModes(reuse)) modes.push_back(std::move(m));
    return modes;
}

// A target of its own, drawing in the given mode; null (with a failure) when none is made.
inline std::shared_ptr<Gfx::RenderTarget> TargetIn(const Gfx::RasterOptions& options,
                                                   uint32_t width, uint32_t height) {
    std::shared_ptr<Gfx::RenderTarget> t;
    if (Gfx::RenderTarget::Create(width, height, 96, &t) != Gfx::kOk)
        return nullptr;
    t->SetRasterOptions(options);
    return t;
}

// Packed premultiplied BGRA rows, four bytes a pixel, without padding.
inline std::vector<uint8_t> PixelsOf(Gfx::RenderTarget& t) {
    const Gfx::SizeU size = t.GetPixelSize();
    const uint8_t* p = t.GetPixels();
    const size_t row = static_cast<size_t>(size.width) * 4;
    std::vector<uint8_t> out(row * size.height);
    for (uint32_t y = 0; y < size.height; ++y)
        std::copy(p + y * t.GetStride(), p + y * t.GetStride() + row, out.begin() + y * row);
    return out;
}

struct Rgba {
    int r = 0, g = 0, b = 0, a = 0;
};

inline Rgba PixelAt(const std::vector<uint8_t>& pixels, int width, int x, int y) {
    const uint8_t* p = &pixels[(static_cast<size_t>(y) * width + x) * 4];
    return {p[2], p[1], p[0], p[3]};
}

}  // namespace RasterTest
