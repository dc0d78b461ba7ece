// Times every benchmark scene through the engine in several raster modes and through
// hand-written Cairo, frame for frame in alternation so that all see the same machine load,
// and prints the median frame time of each.
//
//   zelbench [--frames N] [--only NAME] [--threads N] [--json DIR] [--shift]
//
// --json DIR writes each scene as DIR/NAME.json (and the bitmap they use) for the Skia
// peer instead, and times nothing.
// --shift times nothing either: it draws each static scene directly, moved by 1/256 to
// 1/16 of a pixel along x and along y, and magnified 16 times and averaged back down, and
// prints how far each is from the scene as drawn (the largest channel difference and the
// share of pixels off by more than 2): how close a coverage cache at quantised positions, or
// a scan converter computing exact coverage, could come to Cairo's pixels.
#include <cairo.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "Core/Factory.h"
#include "Core/IScenimator.h"
#include "FrameDifference.h"
#include "Gfx/RenderTarget.h"
#include "Scene.h"
#include "SceneCairo.h"

namespace {

using Clock = std::chrono::steady_clock;

struct Mode {
    const char* name;
    Gfx::RasterOptions options;
};

std::vector<Mode> Modes(unsigned threads) {
    Gfx::RasterOptions direct;
    direct.record = false;
    Gfx::RasterOptions bands;
    bands.threads = threads;
    bands.reuse = false;
    bands.fastGradients = false;
    Gfx::RasterOptions gradients = bands;
    gradients.fastGradients = true;
    Gfx::RasterOptions all = gradients;
    all.reuse = true;
    Gfx::RasterOptions cairoEdges = all;
    cairoEdges.ownEdges = false;
    direct.ownEdges = false;
    bands.ownEdges = false;
    gradients.ownEdges = false;
    return {{"direct", direct},
            {"bands", bands},
            {"gradients", gradients},
            {"cairo_edges", cairoEdges},
            {"engine", all}};
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

void WriteBitmap(const std::string& path) {
    cairo_surface_t* s =
        cairo_image_surface_create(CAIRO_FORMAT_ARGB32, Bench::kBitmapSide, Bench::kBitmapSide);
    cairo_t* cr = cairo_create(s);
    cairo_pattern_t* p = cairo_pattern_create_radial(32, 32, 2, 32, 32, 32);
    cairo_pattern_add_color_stop_rgba(p, 0, 1, 0.8, 0.3, 1);
    cairo_pattern_add_color_stop_rgba(p, 1, 0.5, 0.1, 0.6, 0.2);
    cairo_set_source(cr, p);
    cairo_paint(cr);
    cairo_pattern_destroy(p);
    cairo_destroy(cr);
    cairo_surface_write_to_png(s, path.c_str());
    cairo_surface_destroy(s);
}

struct Engine {
    std::shared_ptr<Gfx::RenderTarget> target;
    ZEL::Factory factory;
    std::unique_ptr<ZEL::IScenimator> document;
    std::vector<double> times;
};

std::unique_ptr<Engine> Load(const std::string& path, const Gfx::RasterOptions& options,
                             uint32_t width = Bench::kWidth, uint32_t height = Bench::kHeight) {
    auto e = std::make_unique<Engine>();
    Gfx::RenderTarget::Create(width, height, 96, &e->target);
    e->target->SetRasterOptions(options);
    ZEL::IScenimator* loaded = nullptr;
    if (e->factory.CreateScenimator(path, 0, e->target.get(), &loaded) != ZEL::kSuccess) {
        std::cerr << e->factory.GetErrorText() << "\n";
        std::exit(1);
    }
    e->document.reset(loaded);
    return e;
}

double Micros(Clock::time_point a, Clock::time_point b) {
    return std::chrono::duration<double, std::micro>(b - a).count();
}

void EngineFrame(Engine& e, uint32_t t) {
    const auto start = Clock::now();
    e.document->Update(t);
    e.target->BeginDraw();
    e.target->Clear(Gfx::ColorF{1, 1, 1, 1});
    e.document->Render(Gfx::Matrix3x2::Identity(), nullptr);
    e.target->EndDraw();
    e.target->GetPixels();
    e.times.push_back(Micros(start, Clock::now()));
}

double CairoFrame(cairo_t* cr, cairo_surface_t* surface, const Bench::Scene& scene, uint32_t t,
                  cairo_surface_t* bitmap) {
    const auto start = Clock::now();
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_paint(cr);
    Bench::DrawWithCairo(cr, scene, t, bitmap);
    cairo_surface_flush(surface);
    return Micros(start, Clock::now());
}

void Time(const Bench::Scene& scene, const std::filesystem::path& dir, int frames,
          unsigned threads) {
    const std::string bitmapPath = (dir / "bitmap.png").string();
    const std::string docPath = (dir / (scene.name + ".scn")).string();
    std::ofstream(docPath) << Bench::ToDocument(scene, bitmapPath);
    std::vector<std::unique_ptr<Engine>> engines;
    const std::vector<Mode> modes = Modes(threads);
    for (const Mode& m : modes) engines.push_back(Load(docPath, m.options));

    cairo_surface_t* bitmap = cairo_image_surface_create_from_png(bitmapPath.c_str());
    cairo_surface_t* surface =
        cairo_image_surface_create(CAIRO_FORMAT_ARGB32, Bench::kWidth, Bench::kHeight);
    cairo_t* cr = cairo_create(surface);
    std::vector<double> cairoTimes;
    for (int i = 0; i < frames; ++i) {
        const uint32_t t = static_cast<uint32_t>(i * 1000 / 60);
        for (auto& e : engines) EngineFrame(*e, t);
        cairoTimes.push_back(CairoFrame(cr, surface, scene, t, bitmap));
    }
    std::cout << "scene=" << scene.name;
    for (size_t m = 0; m < modes.size(); ++m)
        std::cout << ' ' << modes[m].name << "_us=" << std::lround(Median(engines[m]->times));
    std::cout << " cairo_us=" << std::lround(Median(cairoTimes)) << std::endl;
    cairo_destroy(cr);
    cairo_surface_destroy(surface);
    cairo_surface_destroy(bitmap);
}

// A frame's pixels, rows of 4 bytes a pixel without padding.
struct Frame {
    int width = 0, height = 0;
    std::vector<uint8_t> pixels;
    int At(int x, int y, int channel) const {
        return pixels[(static_cast<size_t>(y) * width + x) * 4 + channel];
    }
    Frame Crop(int left, int top, int w, int h) const {
        Frame part{w, h, {}};
        for (int y = top; y < top + h; ++y) {
            const auto row = pixels.begin() + (static_cast<size_t>(y) * width + left) * 4;
            part.pixels.insert(part.pixels.end(), row, row + w * 4);
        }
        return part;
    }
};

// Drawn directly, at offset (offsetX, offsetY) and then magnified scale times, onto a target
// of width x height.
Frame DirectFrame(Bench::Scene scene, const std::filesystem::path& dir, double offsetX,
                  double offsetY, int scale = 1, int width = Bench::kWidth,
                  int height = Bench::kHeight) {
    scene.offsetX = offsetX, scene.offsetY = offsetY, scene.scale = scale;
    const std::string docPath = (dir / (scene.name + "_shift.scn")).string();
    std::ofstream(docPath) << Bench::ToDocument(scene, (dir / "bitmap.png").string());
    Gfx::RasterOptions direct;
    direct.record = false;
    auto e = Load(docPath, direct, static_cast<uint32_t>(width), static_cast<uint32_t>(height));
    EngineFrame(*e, 0);
    Frame f{width, height, std::vector<uint8_t>(static_cast<size_t>(width) * height * 4)};
    const uint8_t* pixels = e->target->GetPixels();
    for (int y = 0; y < height; ++y)
        std::copy_n(pixels + static_cast<size_t>(y) * e->target->GetStride(), width * 4,
                    f.pixels.begin() + static_cast<size_t>(y) * width * 4);
    return f;
}

void PrintDifference(const std::string& what, const Frame& a, const Frame& b) {
    const Bench::Difference d = Bench::Compare(a.pixels, b.pixels);
    std::printf("%s largest=%d over_two_pct=%.3f\n", what.c_str(), d.max, d.OverTwoPercent());
}

// A base offset away from whole pixels and from the fixed-point grid's simple fractions.
constexpr double kBase = 0.3;

// The scene moved by 1/256 to 1/16 of a pixel along each axis: what a cache of coverage at
// quantised positions must differ by at least.
void Shifted(const Bench::Scene& scene, const std::filesystem::path& dir, const Frame& base) {
    for (const char axis : {'x', 'y'}) {
        for (int denominator = 256; denominator >= 16; denominator /= 2) {
            const double by = 1.0 / denominator;
            const Frame moved = DirectFrame(scene, dir, kBase + (axis == 'x' ? by : 0),
                                            kBase + (axis == 'y' ? by : 0));
            PrintDifference(
                "scene=" + scene.name + " moved_" + axis + "=1/" + std::to_string(denominator),
                base, moved);
        }
    }
}

// The middle 200x150 pixels drawn 16 times larger and averaged back down: close to the
// exact area coverage that an analytic scan converter would give.
void Magnified(const Bench::Scene& scene, const std::filesystem::path& dir, const Frame& base) {
    constexpr int kScale = 16, kW = 200, kH = 150;
    constexpr int kLeft = (Bench::kWidth - kW) / 2, kTop = (Bench::kHeight - kH) / 2;
    const Frame big =
        DirectFrame(scene, dir, kBase - kLeft, kBase - kTop, kScale, kW * kScale, kH * kScale);
    Frame exact{kW, kH, std::vector<uint8_t>(static_cast<size_t>(kW) * kH * 4)};
    for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x)
            for (int c = 0; c < 4; ++c) {
                int sum = 0;
                for (int j = 0; j < kScale; ++j)
                    for (int i = 0; i < kScale; ++i)
                        sum += big.At(x * kScale + i, y * kScale + j, c);
                exact.pixels[(static_cast<size_t>(y) * kW + x) * 4 + c] =
                    static_cast<uint8_t>((sum + kScale * kScale / 2) / (kScale * kScale));
            }
    PrintDifference("scene=" + scene.name + " exact_coverage", base.Crop(kLeft, kTop, kW, kH),
                    exact);
}

void Shift(const Bench::Scene& scene, const std::filesystem::path& dir) {
    const Frame base = DirectFrame(scene, dir, kBase, kBase);
    Shifted(scene, dir, base);
    Magnified(scene, dir, base);
}

}  // namespace

int main(int argc, char** argv) {
    int frames = 200;
    unsigned threads = 0;
    std::string only, jsonDir;
    bool shift = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--frames" && hasValue) {
            frames = std::max(1, std::atoi(argv[++i]));
        } else if (arg == "--only" && hasValue) {
            only = argv[++i];
        } else if (arg == "--threads" && hasValue) {
            threads = static_cast<unsigned>(std::max(1, std::atoi(argv[++i])));
        } else if (arg == "--json" && hasValue) {
            jsonDir = argv[++i];
        } else if (arg == "--shift") {
            shift = true;
        } else {
            std::cerr << "usage: zelbench [--frames N] [--only NAME] [--threads N] [--json DIR] "
                         "[--shift]\n";
            return 2;
        }
    }
    const std::filesystem::path dir = jsonDir.empty()
                                          ? std::filesystem::temp_directory_path() / "zelbench"
                                          : std::filesystem::path(jsonDir);
    std::filesystem::create_directories(dir);
    WriteBitmap((dir / "bitmap.png").string());
    for (const Bench::Scene& scene : Bench::MakeScenes()) {
        if (!only.empty() && scene.name != only)
            continue;
        if (shift) {
            if (!scene.moving)
                Shift(scene, dir);
        } else if (!jsonDir.empty())
            std::ofstream(dir / (scene.name + ".json"))
                << Bench::ToJson(scene, (dir / "bitmap.png").string());
        else
            Time(scene, dir, frames, threads);
    }
    return 0;
}
