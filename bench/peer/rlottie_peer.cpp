// Draws a benchmark scene written by `zelbench --lottie DIR` with rlottie and times it the way
// zelbench times the engine and skia.js times Skia: every frame cleared to white (by the
// document's bottom layer) in an 800x600 premultiplied ARGB32 buffer and drawn with renderSync
// (rlottie covers the shapes on its own worker threads and blends them on this one).
//
//   rlottie_peer SCENE.json FRAMES [--png OUT.png]   prints: scene=NAME rlottie_us=MEDIAN
//   rlottie_peer --check DIR      frame 60 of every DIR/NAME.json against the engine's DIR/NAME.png
#include <cairo.h>
#include <rlottie.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "FrameDifference.h"

namespace {

constexpr int kWarmup = 10;
constexpr size_t kCheckFrame = 60;  // a second into the sweep, so moving scenes have moved

// One animation and the frame buffer it draws into.
struct Player {
    std::unique_ptr<rlottie::Animation> animation;
    size_t width = 0, height = 0;
    std::vector<uint32_t> pixels;

    // rlottie clears the buffer itself; the documents' bottom layer paints it white.
    void Draw(size_t frame) {
        animation->renderSync(frame % animation->totalFrame(),
                              rlottie::Surface(pixels.data(), width, height, width * 4));
    }
};

bool Open(const std::string& path, Player* p) {
    // No model cache: every run reads the file it is given.
    p->animation = rlottie::Animation::loadFromFile(path, false);
    if (!p->animation || p->animation->totalFrame() == 0) {
        std::cerr << "rlottie_peer: " << path << " is not a Lottie document rlottie can draw\n";
        return false;
    }
    p->animation->size(p->width, p->height);
    if (p->width == 0 || p->height == 0 || p->width > 16384 || p->height > 16384) {
        std::cerr << "rlottie_peer: " << path << " has an unusable size\n";
        return false;
    }
    p->pixels.assign(p->width * p->height, 0);
    return true;
}

// A surface over the player's pixels (the same layout as Cairo's ARGB32).
cairo_surface_t* Surface(Player& p) {
    return cairo_image_surface_create_for_data(
        reinterpret_cast<unsigned char*>(p.pixels.data()), CAIRO_FORMAT_ARGB32,
        static_cast<int>(p.width), static_cast<int>(p.height), static_cast<int>(p.width * 4));
}

bool WritePng(Player& p, const std::string& path) {
    cairo_surface_t* s = Surface(p);
    const bool ok = cairo_surface_write_to_png(s, path.c_str()) == CAIRO_STATUS_SUCCESS;
    cairo_surface_destroy(s);
    if (!ok)
        std::cerr << "rlottie_peer: cannot write " << path << "\n";
    return ok;
}

std::string SceneName(const std::string& path) {
    return std::filesystem::path(path).stem().string();
}

int Time(const std::string& path, int frames, const std::string& png) {
    Player p;
    if (!Open(path, &p))
        return 1;
    using Clock = std::chrono::steady_clock;
    for (int k = 0; k < kWarmup; ++k) p.Draw(static_cast<size_t>(k));
    std::vector<double> times;
    for (int k = 0; k < frames; ++k) {
        const auto start = Clock::now();
        p.Draw(static_cast<size_t>(k));
        times.push_back(std::chrono::duration<double, std::micro>(Clock::now() - start).count());
    }
    std::sort(times.begin(), times.end());
    std::cout << "scene=" << SceneName(path)
              << " rlottie_us=" << static_cast<long>(times[times.size() / 2] + 0.5) << std::endl;
    return png.empty() || WritePng(p, png) ? 0 : 1;
}

// The engine's frame as packed bytes, or empty when it can't be read at this size.
std::vector<uint8_t> ReadPng(const std::string& path, size_t width, size_t height) {
    cairo_surface_t* s = cairo_image_surface_create_from_png(path.c_str());
    std::vector<uint8_t> bytes;
    // An opaque PNG comes back as RGB24: the same layout with the alpha byte unused.
    const cairo_format_t format = cairo_image_surface_get_format(s);
    if (cairo_surface_status(s) == CAIRO_STATUS_SUCCESS &&
        (format == CAIRO_FORMAT_ARGB32 || format == CAIRO_FORMAT_RGB24) &&
        static_cast<size_t>(cairo_image_surface_get_width(s)) == width &&
        static_cast<size_t>(cairo_image_surface_get_height(s)) == height) {
        const unsigned char* data = cairo_image_surface_get_data(s);
        const size_t stride = static_cast<size_t>(cairo_image_surface_get_stride(s));
        for (size_t y = 0; y < height; ++y)
            bytes.insert(bytes.end(), data + y * stride, data + y * stride + width * 4);
        if (format == CAIRO_FORMAT_RGB24)
            for (size_t i = 3; i < bytes.size(); i += 4) bytes[i] = 0xff;
    }
    cairo_surface_destroy(s);
    return bytes;
}

// rlottie draws what the engine draws: within the bar rlottie's own edges, gradients and
// image sampling leave room for.
bool CheckOne(const std::filesystem::path& json) {
    Player p;
    if (!Open(json.string(), &p))
        return false;
    const std::filesystem::path reference = std::filesystem::path(json).replace_extension(".png");
    const std::vector<uint8_t> engine = ReadPng(reference.string(), p.width, p.height);
    if (engine.empty()) {
        std::cout << "FAIL " << json.filename().string() << ": no engine frame "
                  << reference.string() << " of " << p.width << "x" << p.height << "\n";
        return false;
    }
    p.Draw(kCheckFrame);
    const auto* bytes = reinterpret_cast<const uint8_t*>(p.pixels.data());
    const Bench::Deviation d =
        Bench::Measure(std::vector<uint8_t>(bytes, bytes + p.pixels.size() * 4), engine);
    const bool ok = d.mean <= 2.0 && d.OverThirtyTwoPercent() <= 0.1;
    std::printf("%s %s mean=%.3f over_8_pct=%.3f over_32_pct=%.3f largest=%d\n",
                ok ? "ok  " : "FAIL", SceneName(json.string()).c_str(), d.mean,
                d.OverEightPercent(), d.OverThirtyTwoPercent(), d.max);
    return ok;
}

int Check(const std::string& dir) {
    std::vector<std::filesystem::path> files;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(dir, error))
        if (entry.path().extension() == ".json")
            files.push_back(entry.path());
    if (error || files.empty()) {
        std::cerr << "rlottie_peer: no Lottie documents in " << dir
                  << " (write them with zelbench --lottie DIR)\n";
        return 2;
    }
    std::sort(files.begin(), files.end());
    int failed = 0;
    for (const auto& f : files) failed += CheckOne(f) ? 0 : 1;
    std::cout << files.size() - failed << " passed, " << failed << " failed\n";
    return failed ? 1 : 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.size() == 2 && args[0] == "--check")
        return Check(args[1]);
    const int frames = args.size() >= 2 ? std::atoi(args[1].c_str()) : 0;
    const bool png = args.size() == 4 && args[2] == "--png";
    if (!(args.size() == 2 || png) || frames < 1) {
        std::cerr << "usage: rlottie_peer SCENE.json FRAMES [--png OUT.png] | --check DIR\n";
        return 2;
    }
    return Time(args[0], frames, png ? args[3] : "");
}
