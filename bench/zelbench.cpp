// Times every benchmark scene through the engine in several raster modes and through
// hand-written Cairo, frame for frame in alternation so that all see the same machine load,
// and prints the median frame time of each.
//
//   zelbench [--frames N] [--only NAME] [--threads N] [--json DIR]
//
// --json DIR writes each scene as DIR/NAME.json (and the bitmap they use) for the Skia
// peer instead, and times nothing.
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
    return {{"direct", direct}, {"bands", bands}, {"gradients", gradients}, {"engine", all}};
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

std::unique_ptr<Engine> Load(const std::string& path, const Gfx::RasterOptions& options) {
    auto e = std::make_unique<Engine>();
    Gfx::RenderTarget::Create(Bench::kWidth, Bench::kHeight, 96, &e->target);
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

}  // namespace

int main(int argc, char** argv) {
    int frames = 200;
    unsigned threads = 0;
    std::string only, jsonDir;
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
        } else {
            std::cerr << "usage: zelbench [--frames N] [--only NAME] [--threads N] [--json DIR]\n";
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
        if (!jsonDir.empty())
            std::ofstream(dir / (scene.name + ".json"))
                << Bench::ToJson(scene, (dir / "bitmap.png").string());
        else
            Time(scene, dir, frames, threads);
    }
    return 0;
}
