// Offscreen driver of the engine: loads a document, updates and renders it at chosen times
// exactly as the players do, and writes frames, variables, hit tests or timings.
#include <malloc.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <iomanip>
#include <iostream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "Core/IFactory.h"
#include "Core/Scenimator.h"
#include "Gfx/RenderTarget.h"

namespace {

constexpr uint32_t kMaxSide = 16384;  // pixels

struct Options {
    uint32_t width = 800, height = 600;
    uint32_t start = 0;
    std::vector<uint32_t> times;
    std::string outPattern;
    bool printVars = false;
    std::vector<std::pair<int32_t, int32_t>> hits;
    int bench = 0;
    int soak = 0;
    Gfx::RasterOptions raster;
    std::string document;
};

const char kUsage[] =
    "usage: zelrender [--size WxH] [--start MS] [--at MS[,MS...]] [--out PATTERN]\n"
    "                 [--print-vars] [--hit X,Y]... [--bench N] [--soak N] DOCUMENT\n"
    "       zelrender --help | --version\n"
    "\n"
    "Loads DOCUMENT at load time --start (default 0) onto an offscreen target (800x600 by\n"
    "default) and, for each time of --at (default: the load time), updates it, clears to\n"
    "white and renders it as the players do.\n"
    "\n"
    "  --size WxH        target size in pixels, 1 to 16384 a side\n"
    "  --start MS        the document's load time in milliseconds\n"
    "  --at MS[,MS...]   update and render at these times only\n"
    "  --out PATTERN     write each frame as PNG; %d is the frame's index\n"
    "  --print-vars      print TIME NAME VALUE for every variable after each update\n"
    "  --hit X,Y         print TIME hit X Y 0|1 after each render (repeatable)\n"
    "  --bench N         time N frames at 60 fps from the load time\n"
    "  --soak N          play N frames at 60 fps and report resident memory\n"
    "  --threads N       raster threads (default: one per core)\n"
    "  --direct          draw every call at once on one thread, with Cairo's gradients\n"
    "  --no-reuse        draw every frame whole, keeping nothing of the last one\n"
    "  --cairo-gradients draw gradients with Cairo instead of our own spans\n"
    "\n"
    "On an engine error the error text is the last line of standard error and the exit\n"
    "code is 1; bad arguments exit with 2.\n";

[[noreturn]] void Usage(const std::string& problem) {
    std::cerr << "zelrender: " << problem << "\n" << kUsage;
    std::exit(2);
}

bool ParseNumber(const std::string& text, long long* value) {
    if (text.empty()) {
        return false;
    }
    char* end = nullptr;
    *value = std::strtoll(text.c_str(), &end, 10);
    return *end == '\0';
}

uint32_t ParseTime(const std::string& text) {
    long long v = 0;
    if (!ParseNumber(text, &v) || v < 0 || v > 0xFFFFFFFFll) {
        Usage("not a time in milliseconds: " + text);
    }
    return static_cast<uint32_t>(v);
}

void ParsePair(const std::string& text, char separator, long long* a, long long* b) {
    const size_t at = text.find(separator);
    if (at == std::string::npos || !ParseNumber(text.substr(0, at), a) ||
        !ParseNumber(text.substr(at + 1), b)) {
        Usage("expected two numbers separated by '" + std::string(1, separator) + "': " + text);
    }
}

Options ParseOptions(int argc, char** argv) {
    Options o;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        auto next = [&]() -> std::string {
            if (i + 1 >= argc) {
                Usage(arg + " needs a value");
            }
            return argv[++i];
        };
        if (arg == "--help" || arg == "-h") {
            std::cout << kUsage;
            std::exit(0);
        } else if (arg == "--version") {
            std::cout << "zelrender " << ZEL_VERSION << "\n";
            std::exit(0);
        } else if (arg == "--size") {
            long long w = 0, h = 0;
            ParsePair(next(), 'x', &w, &h);
            if (w < 1 || h < 1 || w > kMaxSide || h > kMaxSide) {
                Usage("--size takes 1 to " + std::to_string(kMaxSide) + " pixels a side");
            }
            o.width = static_cast<uint32_t>(w);
            o.height = static_cast<uint32_t>(h);
        } else if (arg == "--start") {
            o.start = ParseTime(next());
        } else if (arg == "--at") {
            std::stringstream list(next());
            std::string item;
            while (std::getline(list, item, ',')) {
                o.times.push_back(ParseTime(item));
            }
        } else if (arg == "--out") {
            o.outPattern = next();
        } else if (arg == "--print-vars") {
            o.printVars = true;
        } else if (arg == "--hit") {
            long long x = 0, y = 0;
            ParsePair(next(), ',', &x, &y);
            o.hits.emplace_back(static_cast<int32_t>(x), static_cast<int32_t>(y));
        } else if (arg == "--bench") {
            long long n = 0;
            if (!ParseNumber(next(), &n) || n < 1 || n > 10000000) {
                Usage("--bench takes a frame count");
            }
            o.bench = static_cast<int>(n);
        } else if (arg == "--soak") {
            long long n = 0;
            if (!ParseNumber(next(), &n) || n < 1 || n > 100000000) {
                Usage("--soak takes a frame count");
            }
            o.soak = static_cast<int>(n);
        } else if (arg == "--threads") {
            long long n = 0;
            if (!ParseNumber(next(), &n) || n < 1 || n > 256) {
                Usage("--threads takes 1 to 256");
            }
            o.raster.threads = static_cast<unsigned>(n);
        } else if (arg == "--direct") {
            o.raster.record = false;
        } else if (arg == "--no-reuse") {
            o.raster.reuse = false;
        } else if (arg == "--cairo-gradients") {
            o.raster.fastGradients = false;
        } else if (!arg.empty() && arg[0] == '-') {
            Usage("unknown option " + arg);
        } else if (o.document.empty()) {
            o.document = arg;
        } else {
            Usage("only one document");
        }
    }
    if (o.document.empty()) {
        Usage("no document");
    }
    if (o.times.empty()) {
        o.times.push_back(o.start);
    }
    return o;
}

// The engine's text, alone on the last line of standard error.
[[noreturn]] void Fail(const std::string& text) {
    std::cerr << text << std::endl;
    std::exit(1);
}

void PrintVariables(uint32_t time, ZEL::IScenimator* document, const std::string& prefix) {
    auto* doc = dynamic_cast<ZEL::Scenimator*>(document);
    if (!doc) {
        return;
    }
    for (const auto& entry : doc->Variables()) {
        std::cout << time << ' ' << prefix << entry.first << ' ' << std::setprecision(9)
                  << entry.second << '\n';
    }
    for (const auto& child : doc->ChildZels()) {
        PrintVariables(time, child.second.get(), prefix + child.first + "/");
    }
}

std::string FrameName(const std::string& pattern, size_t index) {
    std::string name = pattern;
    const size_t at = name.find("%d");
    if (at != std::string::npos) {
        name.replace(at, 2, std::to_string(index));
    }
    return name;
}

using Clock = std::chrono::steady_clock;

// Clear, Render and EndDraw as the players do; *recorded is when Render returned, so the
// time after it is the rasterising.
void RenderFrame(Gfx::RenderTarget& target, ZEL::IScenimator* document,
                 Clock::time_point* recorded = nullptr) {
    target.BeginDraw();
    target.Clear(Gfx::ColorF{1, 1, 1, 1});
    if (document->Render(Gfx::Matrix3x2::Identity(), nullptr) != ZEL::kSuccess) {
        Fail(document->GetErrorText());
    }
    if (recorded) {
        *recorded = Clock::now();
    }
    if (target.EndDraw() != Gfx::kOk) {
        Fail("Rendering Error");
    }
}

void Update(ZEL::IScenimator* document, uint32_t time) {
    if (document->Update(time) != ZEL::kSuccess) {
        Fail(document->GetErrorText());
    }
}

int64_t Percentile(std::vector<int64_t> values, double fraction) {
    std::sort(values.begin(), values.end());
    const size_t index =
        static_cast<size_t>(fraction * static_cast<double>(values.size() - 1) + 0.5);
    return values[std::min(index, values.size() - 1)];
}

void Bench(const Options& o, Gfx::RenderTarget& target, ZEL::IScenimator* document) {
    auto micros = [](Clock::duration d) {
        return std::chrono::duration_cast<std::chrono::microseconds>(d).count();
    };
    std::vector<int64_t> updates, renders, records, rasters, frames;
    for (int i = 0; i < o.bench; ++i) {
        // 60 frames a second from the load time.
        const uint32_t time =
            o.start + static_cast<uint32_t>((static_cast<uint64_t>(i) * 1000) / 60);
        const auto t0 = Clock::now();
        Update(document, time);
        const auto t1 = Clock::now();
        Clock::time_point recorded;
        RenderFrame(target, document, &recorded);
        const auto t2 = Clock::now();
        updates.push_back(micros(t1 - t0));
        renders.push_back(micros(t2 - t1));
        records.push_back(micros(recorded - t1));
        rasters.push_back(micros(t2 - recorded));
        frames.push_back(micros(t2 - t0));
    }
    std::cout << "bench frames=" << o.bench << " update_median_us=" << Percentile(updates, 0.5)
              << " update_p99_us=" << Percentile(updates, 0.99)
              << " render_median_us=" << Percentile(renders, 0.5)
              << " render_p99_us=" << Percentile(renders, 0.99)
              << " record_median_us=" << Percentile(records, 0.5)
              << " raster_median_us=" << Percentile(rasters, 0.5)
              << " frame_median_us=" << Percentile(frames, 0.5)
              << " frame_p99_us=" << Percentile(frames, 0.99)
              << " frame_max_us=" << *std::max_element(frames.begin(), frames.end()) << '\n';
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

// Plays N frames at 60 fps and reports resident memory after 1,000 frames, after 10,000
// (past the first use of everything a 154 s show draws) and at the end, so growth over a
// long run shows.
void Soak(const Options& o, Gfx::RenderTarget& target, ZEL::IScenimator* document) {
    long early = 0, warm = 0;
    for (int i = 0; i < o.soak; ++i) {
        const uint32_t time =
            o.start + static_cast<uint32_t>((static_cast<uint64_t>(i) * 1000) / 60);
        Update(document, time);
        RenderFrame(target, document);
        if (i + 1 == std::min(o.soak, 1000)) {
            early = ResidentKiB();
        }
        if (i + 1 == std::min(o.soak, 10000)) {
            warm = ResidentKiB();
        }
    }
    std::cout << "soak frames=" << o.soak << " rss_kib_after_1000=" << early
              << " rss_kib_after_10000=" << warm << " rss_kib_end=" << ResidentKiB() << '\n';
}

}  // namespace

int main(int argc, char** argv) {
    const Options o = ParseOptions(argc, argv);
    std::shared_ptr<Gfx::RenderTarget> target;
    if (Gfx::RenderTarget::Create(o.width, o.height, 96.0f, &target) != Gfx::kOk) {
        Fail("unable to create render target");
    }
    target->SetAntialiasMode(Gfx::AntialiasMode::Aliased);
    target->SetRasterOptions(o.raster);
    ZEL::IFactory* factory = ZEL::GetFactory();
    if (!factory) {
        Fail("Unable to create ZEL Factory");
    }
    ZEL::IScenimator* loaded = nullptr;
    if (factory->CreateScenimator(o.document, o.start, target.get(), &loaded) != ZEL::kSuccess) {
        Fail(factory->GetErrorText());
    }
    std::unique_ptr<ZEL::IScenimator> document(loaded);
    if (o.soak > 0) {
        Soak(o, *target, document.get());
    } else if (o.bench > 0) {
        Bench(o, *target, document.get());
    } else {
        for (size_t i = 0; i < o.times.size(); ++i) {
            const uint32_t time = o.times[i];
            Update(document.get(), time);
            if (o.printVars) {
                PrintVariables(time, document.get(), "");
            }
            RenderFrame(*target, document.get());
            for (const auto& hit : o.hits) {
                bool inside = false;
                if (document->HitTest(hit.first, hit.second, &inside) != ZEL::kSuccess) {
                    Fail(document->GetErrorText());
                }
                std::cout << time << " hit " << hit.first << ' ' << hit.second << ' '
                          << (inside ? 1 : 0) << '\n';
            }
            if (!o.outPattern.empty() && target->WritePng(FrameName(o.outPattern, i)) != Gfx::kOk) {
                Fail("could not write " + FrameName(o.outPattern, i));
            }
        }
    }
    std::cout.flush();
    document.reset();
    delete factory;
    return 0;
}
