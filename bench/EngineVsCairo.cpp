// Times each benchmark scene through the engine and through hand-written Cairo, frame for
// frame in alternation so both see the same machine load, and prints the ratio of medians.
#include <cairo.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "BenchScenes.h"
#include "Core/Factory.h"
#include "Core/IScenimator.h"
#include "Gfx/RenderTarget.h"

namespace {

using Clock = std::chrono::steady_clock;

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

void WriteBitmap(const std::string& path) {
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 64, 64);
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

cairo_surface_t* LoadSurface(const std::string& path) {
    return cairo_image_surface_create_from_png(path.c_str());
}

struct Result {
    double engineUs, cairoUs;
};

Result Run(const BenchScene& scene, const std::filesystem::path& dir, int frames,
           cairo_surface_t* image) {
    const auto docPath = dir / (scene.name + ".scn");
    std::ofstream(docPath) << scene.document;

    std::shared_ptr<Gfx::RenderTarget> target;
    Gfx::RenderTarget::Create(800, 600, 96, &target);
    ZEL::Factory factory;
    ZEL::IScenimator* loaded = nullptr;
    if (factory.CreateScenimator(docPath.string(), 0, target.get(), &loaded) != ZEL::kSuccess) {
        std::cerr << scene.name << ": " << factory.GetErrorText() << "\n";
        std::exit(1);
    }
    std::unique_ptr<ZEL::IScenimator> doc(loaded);
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 800, 600);
    cairo_t* cr = cairo_create(surface);

    std::vector<double> engine, byHand;
    for (int i = -10; i < frames; ++i) {  // ten frames of warm-up
        const uint32_t time = static_cast<uint32_t>((i < 0 ? 0 : i) * 1000 / 60);
        const auto t0 = Clock::now();
        doc->Update(time);
        target->BeginDraw();
        target->Clear(Gfx::ColorF{1, 1, 1, 1});
        if (doc->Render(Gfx::Matrix3x2::Identity(), nullptr) != ZEL::kSuccess) {
            std::cerr << scene.name << ": " << doc->GetErrorText() << "\n";
            std::exit(1);
        }
        target->EndDraw();
        target->GetPixels();
        const auto t1 = Clock::now();
        cairo_set_source_rgb(cr, 1, 1, 1);
        cairo_paint(cr);
        scene.drawByHand(cr, time, image);
        cairo_surface_flush(surface);
        const auto t2 = Clock::now();
        if (i >= 0) {
            engine.push_back(std::chrono::duration<double, std::micro>(t1 - t0).count());
            byHand.push_back(std::chrono::duration<double, std::micro>(t2 - t1).count());
        }
    }
    cairo_destroy(cr);
    cairo_surface_destroy(surface);
    return Result{Median(engine), Median(byHand)};
}

}  // namespace

// zelbench [FRAMES] [--write DIR]: --write only writes the scene documents into DIR.
int main(int argc, char** argv) {
    const int frames = argc > 1 ? std::max(1, std::atoi(argv[1])) : 300;
    if (argc > 3 && std::string(argv[2]) == "--write") {
        const std::filesystem::path out = argv[3];
        std::filesystem::create_directories(out);
        const std::string bitmap = (out / "pic.png").string();
        WriteBitmap(bitmap);
        for (const BenchScene& scene : MakeBenchScenes(bitmap)) {
            std::ofstream(out / (scene.name + ".scn")) << scene.document;
        }
        return 0;
    }
    const auto dir = std::filesystem::temp_directory_path() / "zelbench";
    std::filesystem::create_directories(dir);
    const std::string bitmap = (dir / "pic.png").string();
    WriteBitmap(bitmap);
    cairo_surface_t* image = LoadSurface(bitmap);

    std::printf("%-18s %14s %14s %7s\n", "scene", "engine_us", "cairo_us", "ratio");
    for (const BenchScene& scene : MakeBenchScenes(bitmap)) {
        const Result r = Run(scene, dir, frames, image);
        std::printf("%-18s %14.0f %14.0f %7.2f\n", scene.name.c_str(), r.engineUs, r.cairoUs,
                    r.engineUs / r.cairoUs);
    }
    cairo_surface_destroy(image);
    std::filesystem::remove_all(dir);
    return 0;
}
