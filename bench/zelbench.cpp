// Times every benchmark scene through the engine in several raster modes and through
// hand-written Cairo, frame for frame in alternation so that all see the same machine load,
// and prints the median frame time of each, and of the engine's frames (the last mode) the
// median time spent recording, covering edges and painting.
//
//   zelbench [--frames N] [--only NAME] [--threads N] [--json DIR] [--lottie DIR] [--shift]
//            [--fidelity [--png DIR]]
//
// --json DIR writes each scene as DIR/NAME.json (and the bitmap they use) for the Skia
// peer instead, and times nothing.
// --lottie DIR writes each scene as a Lottie document DIR/NAME.json for the rlottie peer,
// with the engine's frame 60 (one second in) as DIR/NAME.png for `rlottie_peer --check DIR`.
// --fidelity draws every scene at a few times in the engine's default mode and directly
// through Cairo, and measures both against exact area coverage (the frame drawn 8 times
// larger and averaged; for scenes of solid paints also each operation covered that way and
// blended in order, the reference the bar is judged on there): a line per scene, time, mode
// and reference, then a Markdown table; --png DIR also writes the frames and references.
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
#include <exception>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "Fidelity.h"
#include "FidelityReport.h"
#include "FrameDifference.h"
#include "Frames.h"
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

double Micros(Clock::time_point a, Clock::time_point b) {
    return std::chrono::duration<double, std::micro>(b - a).count();
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
    const std::string docPath = Bench::WriteDocument(scene, dir);
    const std::vector<Mode> modes = Modes(threads);
    std::vector<std::unique_ptr<Bench::Player>> engines;
    std::vector<std::vector<double>> engineTimes(modes.size());
    for (const Mode& m : modes)
        engines.push_back(std::make_unique<Bench::Player>(docPath, m.options));

    cairo_surface_t* bitmap = cairo_image_surface_create_from_png((dir / "bitmap.png").c_str());
    cairo_surface_t* surface =
        cairo_image_surface_create(CAIRO_FORMAT_ARGB32, Bench::kWidth, Bench::kHeight);
    cairo_t* cr = cairo_create(surface);
    std::vector<double> cairoTimes, records, covers, paints;  // the last mode's breakdown
    for (int i = 0; i < frames; ++i) {
        const uint32_t t = static_cast<uint32_t>(i * 1000 / 60);
        for (size_t m = 0; m < engines.size(); ++m) {
            const auto start = Clock::now();
            const Bench::Player::Times times = engines[m]->Draw(t);
            engineTimes[m].push_back(Micros(start, Clock::now()));
            if (m + 1 == engines.size()) {
                records.push_back(times.record);
                covers.push_back(times.cover);
                paints.push_back(times.paint);
            }
        }
        cairoTimes.push_back(CairoFrame(cr, surface, scene, t, bitmap));
    }
    std::cout << "scene=" << scene.name;
    for (size_t m = 0; m < modes.size(); ++m)
        std::cout << ' ' << modes[m].name << "_us=" << std::lround(Median(engineTimes[m]));
    std::cout << " cairo_us=" << std::lround(Median(cairoTimes))
              << " record_us=" << std::lround(Median(records))
              << " cover_us=" << std::lround(Median(covers))
              << " paint_us=" << std::lround(Median(paints)) << std::endl;
    cairo_destroy(cr);
    cairo_surface_destroy(surface);
    cairo_surface_destroy(bitmap);
}

// Drawn directly, at offset (offsetX, offsetY).
Bench::Frame DirectFrame(Bench::Scene scene, const std::filesystem::path& dir, double offsetX,
                         double offsetY) {
    scene.offsetX = offsetX, scene.offsetY = offsetY;
    Gfx::RasterOptions direct;
    direct.record = false;
    Bench::Player p(Bench::WriteDocument(scene, dir, "_shift"), direct);
    p.Draw(0);
    return p.Pixels();
}

void PrintDifference(const std::string& what, const Bench::Frame& a, const Bench::Frame& b) {
    const Bench::Difference d = Bench::Compare(a.pixels, b.pixels);
    std::printf("%s largest=%d over_two_pct=%.3f\n", what.c_str(), d.max, d.OverTwoPercent());
}

// A base offset away from whole pixels and from the fixed-point grid's simple fractions.
constexpr double kBase = 0.3;

// The scene moved by 1/256 to 1/16 of a pixel along each axis: what a cache of coverage at
// quantised positions must differ by at least.
void Shifted(const Bench::Scene& scene, const std::filesystem::path& dir,
             const Bench::Frame& base) {
    for (const char axis : {'x', 'y'}) {
        for (int denominator = 256; denominator >= 16; denominator /= 2) {
            const double by = 1.0 / denominator;
            const Bench::Frame moved = DirectFrame(scene, dir, kBase + (axis == 'x' ? by : 0),
                                                   kBase + (axis == 'y' ? by : 0));
            PrintDifference(
                "scene=" + scene.name + " moved_" + axis + "=1/" + std::to_string(denominator),
                base, moved);
        }
    }
}

// The middle 200x150 pixels drawn 16 times larger and averaged back down: close to the
// exact area coverage that an analytic scan converter would give.
void Magnified(Bench::Scene scene, const std::filesystem::path& dir, const Bench::Frame& base) {
    constexpr int kW = 200, kH = 150;
    const Bench::Region middle{(Bench::kWidth - kW) / 2, (Bench::kHeight - kH) / 2, kW, kH};
    scene.offsetX = scene.offsetY = kBase;
    const Bench::Frame exact = Bench::ExactFrame(scene, 0, middle, dir, 16);
    PrintDifference("scene=" + scene.name + " exact_coverage",
                    base.Crop(middle.left, middle.top, kW, kH), exact);
}

void Shift(const Bench::Scene& scene, const std::filesystem::path& dir) {
    const Bench::Frame base = DirectFrame(scene, dir, kBase, kBase);
    Shifted(scene, dir, base);
    Magnified(scene, dir, base);
}

// The scene as Lottie, and the engine's document and its frame at the time rlottie_peer
// --check draws.
void WriteLottie(const Bench::Scene& scene, const std::filesystem::path& dir) {
    const std::filesystem::path json = dir / (scene.name + ".json");
    std::ofstream out(json);
    out << Bench::ToLottie(scene, (dir / "bitmap.png").string());
    if (!out)
        throw std::runtime_error("cannot write " + json.string());
    Bench::Player engine(Bench::WriteDocument(scene, dir), Gfx::RasterOptions{});
    engine.Draw(1000);  // frame 60 at 60 frames a second
    const std::string png = (dir / (scene.name + ".png")).string();
    if (!engine.Pixels().WritePng(png))
        throw std::runtime_error("cannot write " + png);
}

struct Options {
    int frames = 200;
    unsigned threads = 0;
    std::string only, jsonDir, lottieDir, pngDir;
    bool shift = false, fidelity = false;
};

bool Parse(int argc, char** argv, Options* o) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--frames" && hasValue)
            o->frames = std::max(1, std::atoi(argv[++i]));
        else if (arg == "--only" && hasValue)
            o->only = argv[++i];
        else if (arg == "--threads" && hasValue)
            o->threads = static_cast<unsigned>(std::max(1, std::atoi(argv[++i])));
        else if (arg == "--json" && hasValue)
            o->jsonDir = argv[++i];
        else if (arg == "--lottie" && hasValue)
            o->lottieDir = argv[++i];
        else if (arg == "--png" && hasValue)
            o->pngDir = argv[++i];
        else if (arg == "--shift")
            o->shift = true;
        else if (arg == "--fidelity")
            o->fidelity = true;
        else
            return false;
    }
    const int jobs = o->shift + o->fidelity + !o->jsonDir.empty() + !o->lottieDir.empty();
    return jobs <= 1 && (o->pngDir.empty() || o->fidelity);
}

// Documents and the bitmap go beside the files they serve, or to a folder of their own.
std::filesystem::path WorkFolder(const Options& o) {
    if (!o.jsonDir.empty())
        return o.jsonDir;
    if (!o.lottieDir.empty())
        return o.lottieDir;
    return std::filesystem::temp_directory_path() / "zelbench";
}

int Run(const Options& o) {
    const std::filesystem::path dir = WorkFolder(o);
    std::filesystem::create_directories(dir);
    if (!o.pngDir.empty())
        std::filesystem::create_directories(o.pngDir);
    Bench::WriteBitmap((dir / "bitmap.png").string());
    std::vector<Bench::Scene> scenes;
    for (const Bench::Scene& scene : Bench::MakeScenes())
        if (o.only.empty() || scene.name == o.only)
            scenes.push_back(scene);
    if (scenes.empty()) {
        std::cerr << "zelbench: no scene is called " << o.only << "\n";
        return 2;
    }
    if (o.fidelity) {
        Bench::ReportFidelity(scenes, dir, o.pngDir);
        return 0;
    }
    for (const Bench::Scene& scene : scenes) {
        if (o.shift) {
            if (!scene.moving)
                Shift(scene, dir);
        } else if (!o.jsonDir.empty()) {
            std::ofstream(dir / (scene.name + ".json"))
                << Bench::ToJson(scene, (dir / "bitmap.png").string());
        } else if (!o.lottieDir.empty()) {
            WriteLottie(scene, dir);
        } else {
            Time(scene, dir, o.frames, o.threads);
        }
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (!Parse(argc, argv, &options)) {
        std::cerr << "usage: zelbench [--frames N] [--only NAME] [--threads N] "
                     "[--json DIR | --lottie DIR | --shift | --fidelity [--png DIR]]\n";
        return 2;
    }
    try {
        return Run(options);
    } catch (const std::exception& e) {
        std::cerr << "zelbench: " << e.what() << "\n";
        return 1;
    }
}
