#include "Options.h"

#include <cmath>
#include <cstdlib>
#include <iostream>
#include <set>
#include <sstream>

namespace ZEL {

namespace {

constexpr uint32_t kMaxSide = 16384;  // pixels

const char kUsage[] =
    "usage: zelrender [--size WxH] [--dpi N] [--start MS] [--at MS[,MS...]] [--out PATTERN]\n"
    "                 [--print-vars] [--hit X,Y]... DOCUMENT\n"
    "       zelrender --fps N [--from MS] [--to MS] [--out PATTERN] [--video FILE]\n"
    "                 [--music FILE] [--crf N] [--quiet] [--size WxH] [--dpi N] DOCUMENT\n"
    "       zelrender --bench N | --soak N [--size WxH] DOCUMENT\n"
    "       zelrender --check [--run MS] [--strict] [--quiet] [--start MS] DOCUMENT...\n"
    "       zelrender --help | --version\n"
    "\n"
    "Loads DOCUMENT at load time --start (default 0) onto an offscreen target and, for each\n"
    "time of --at (default: the load time), updates it, clears to white and renders it as the\n"
    "players do. With --fps it plays a timeline instead: every frame a player running at N\n"
    "frames a second shows, from --from (default: the load time) to --to (default: where\n"
    "the animations end). With --check it reports, for each DOCUMENT, what the reader\n"
    "forgave, the load's error, likely mistakes and what fails while its timeline plays.\n"
    "\n"
    "  --size WxH        target size in pixels, 1 to 16384 a side (default 800x600 at 96 dpi)\n"
    "  --dpi N           draw at N/96 of the document's size (192: 1600x1200; 460.8 fills\n"
    "                    3840 pixels across)\n"
    "  --start MS        the document's load time in milliseconds\n"
    "  --at MS[,MS...]   update and render at these times only\n"
    "  --out PATTERN     write each frame as PNG; %d is the frame's index\n"
    "  --print-vars      print TIME NAME VALUE for every variable after each update\n"
    "  --hit X,Y         print TIME hit X Y 0|1 after each render (repeatable)\n"
    "  --fps N           timeline mode at N frames a second (default 60 with --video)\n"
    "  --from MS         the first frame's time\n"
    "  --to MS           the last frame's time at most (default: where the last animation\n"
    "                    that hands over ends; 154000 when the animations never end)\n"
    "  --video FILE      encode the frames: .mp4 H.264, .webm VP9, .mkv lossless FFV1, .gif,\n"
    "                    .webp animated\n"
    "  --music FILE      mux this track into the video, its time 0 at document time 0, cut\n"
    "                    at the video's end (.mp4, .webm and .mkv have sound)\n"
    "  --crf N           H.264 / VP9 quality, 0 (lossless) to 51 (worst); default 18\n"
    "  --quiet           no progress line and no summary; with --check, errors only\n"
    "  --bench N         time N frames at 60 fps from the load time\n"
    "  --soak N          play N frames at 60 fps and report resident memory\n"
    "  --check           check the documents: FILE:LINE: error|warning|note: TEXT lines\n"
    "                    on standard output; exit 0 clean, 1 on an error\n"
    "  --run MS          with --check: play this long (default: until the animations end,\n"
    "                    154000 when they never end)\n"
    "  --strict          with --check: exit 3 when there are warnings and no error\n"
    "  --threads N       raster threads (default: one per core)\n"
    "  --direct          draw every call at once on one thread, with Cairo's gradients\n"
    "  --no-reuse        draw every frame whole, keeping nothing of the last one\n"
    "  --cairo-gradients draw gradients with Cairo instead of our own spans\n"
    "  --cairo-edges     cover smoothed edges with Cairo's scan converter instead of ours\n"
    "  --no-glyph-cache  cover text glyph by glyph every frame instead of keeping masks\n"
    "\n"
    "On an engine error the error text is the last line of standard error and the exit\n"
    "code is 1; bad arguments exit with 2. Ctrl-C stops an export cleanly: the video plays\n"
    "up to the last frame written.\n";

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

// A decimal number such as 460.8 within lo..hi, all of the text.
double ParseDecimalIn(const std::string& text, double lo, double hi, const std::string& what) {
    char* end = nullptr;
    const double v = text.empty() ? 0 : std::strtod(text.c_str(), &end);
    if (text.empty() || *end != '\0' || !(v >= lo && v <= hi)) {
        std::ostringstream range;
        range << what << " takes " << lo << " to " << hi << ": " << text;
        Usage(range.str());
    }
    return v;
}

long long ParseIn(const std::string& text, long long lo, long long hi, const std::string& what) {
    long long v = 0;
    if (!ParseNumber(text, &v) || v < lo || v > hi) {
        Usage(what + " takes " + std::to_string(lo) + " to " + std::to_string(hi) + ": " + text);
    }
    return v;
}

uint32_t ParseTime(const std::string& text) {
    return static_cast<uint32_t>(ParseIn(text, 0, 0xFFFFFFFFll, "a time in milliseconds"));
}

void ParsePair(const std::string& text, char separator, long long* a, long long* b) {
    const size_t at = text.find(separator);
    if (at == std::string::npos || !ParseNumber(text.substr(0, at), a) ||
        !ParseNumber(text.substr(at + 1), b)) {
        Usage("expected two numbers separated by '" + std::string(1, separator) + "': " + text);
    }
}

// The options that take no value.
bool ParseFlag(const std::string& arg, Options* o) {
    if (arg == "--help" || arg == "-h") {
        std::cout << kUsage;
        std::exit(0);
    } else if (arg == "--version") {
        std::cout << "zelrender " << ZEL_VERSION << "\n";
        std::exit(0);
    } else if (arg == "--print-vars") {
        o->printVars = true;
    } else if (arg == "--quiet") {
        o->quiet = true;
    } else if (arg == "--check") {
        o->check = true;
    } else if (arg == "--strict") {
        o->strict = true;
    } else if (arg == "--direct") {
        o->raster.record = false;
    } else if (arg == "--no-reuse") {
        o->raster.reuse = false;
    } else if (arg == "--no-glyph-cache") {
        o->raster.glyphCache = false;
    } else if (arg == "--cairo-edges") {
        o->raster.ownEdges = false;
    } else if (arg == "--cairo-gradients") {
        o->raster.fastGradients = false;
    } else {
        return false;
    }
    return true;
}

// The options that take a value.
bool ParseValue(const std::string& arg, const std::string& value, Options* o) {
    if (arg == "--size") {
        long long w = 0, h = 0;
        ParsePair(value, 'x', &w, &h);
        if (w < 1 || h < 1 || w > kMaxSide || h > kMaxSide) {
            Usage("--size takes 1 to " + std::to_string(kMaxSide) + " pixels a side");
        }
        o->width = static_cast<uint32_t>(w);
        o->height = static_cast<uint32_t>(h);
        o->sizeGiven = true;
    } else if (arg == "--dpi") {
        o->dpi = static_cast<float>(ParseDecimalIn(value, 1, 960, "--dpi"));
    } else if (arg == "--start") {
        o->start = ParseTime(value);
    } else if (arg == "--at") {
        std::stringstream list(value);
        std::string item;
        while (std::getline(list, item, ',')) {
            o->times.push_back(ParseTime(item));
        }
    } else if (arg == "--fps") {
        o->fps = static_cast<double>(ParseIn(value, 1, 240, "--fps"));
    } else if (arg == "--from") {
        o->from = ParseTime(value);
        o->fromGiven = true;
    } else if (arg == "--to") {
        o->to = ParseTime(value);
        o->toGiven = true;
    } else if (arg == "--run") {
        o->run = ParseTime(value);
    } else if (arg == "--out") {
        o->outPattern = value;
    } else if (arg == "--video") {
        o->video = value;
    } else if (arg == "--music") {
        o->music = value;
    } else if (arg == "--crf") {
        o->crf = static_cast<int>(ParseIn(value, 0, 51, "--crf"));
    } else if (arg == "--hit") {
        long long x = 0, y = 0;
        ParsePair(value, ',', &x, &y);
        o->hits.emplace_back(static_cast<int32_t>(x), static_cast<int32_t>(y));
    } else if (arg == "--bench") {
        o->bench = static_cast<int>(ParseIn(value, 1, 10000000, "--bench"));
    } else if (arg == "--soak") {
        o->soak = static_cast<int>(ParseIn(value, 1, 100000000, "--soak"));
    } else if (arg == "--threads") {
        o->raster.threads = static_cast<unsigned>(ParseIn(value, 1, 256, "--threads"));
    } else {
        return false;
    }
    return true;
}

// --check takes documents and a few options of its own; nothing that draws or writes.
void CheckModeOptions(const Options& o, const std::vector<std::string>& given) {
    static const std::set<std::string> kAllowed = {"--check", "--run", "--strict", "--quiet",
                                                   "--start"};
    for (const std::string& arg : given) {
        if (!kAllowed.count(arg)) {
            Usage(arg + " does not go with --check");
        }
    }
    if (o.documents.empty()) {
        Usage("no document");
    }
}

void Check(Options* o, const std::vector<std::string>& given) {
    if (o->check) {
        CheckModeOptions(*o, given);
        return;
    }
    if (o->run || o->strict) {
        Usage(std::string(o->run ? "--run" : "--strict") + " goes with --check");
    }
    if (o->documents.size() > 1) {
        Usage("only one document");
    }
    if (!o->documents.empty()) {
        o->document = o->documents.front();
    }
    if (o->document.empty()) {
        Usage("no document");
    }
    if (!o->video.empty() && o->fps == 0) {
        o->fps = 60;
    }
    if (o->fps > 0 && !o->times.empty()) {
        Usage("--at and --fps choose the frames in two ways; give one");
    }
    if (!o->music.empty() && o->video.empty()) {
        Usage("--music goes into a --video");
    }
    if (!o->fromGiven) {
        o->from = o->start;
    }
    if (o->fps > 0 && o->to < o->from) {
        Usage("--to is before --from");
    }
    if (!o->sizeGiven) {
        const double scale = o->dpi / 96.0;
        o->width = static_cast<uint32_t>(std::lround(800 * scale));
        o->height = static_cast<uint32_t>(std::lround(600 * scale));
        if (o->width > kMaxSide || o->height > kMaxSide) {
            Usage("--dpi makes the target larger than " + std::to_string(kMaxSide) + " a side");
        }
    }
    if (o->times.empty()) {
        o->times.push_back(o->start);
    }
}

}  // namespace

Options ParseOptions(int argc, char** argv) {
    Options o;
    std::vector<std::string> given;  // the options, without their values
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (ParseFlag(arg, &o)) {
            given.push_back(arg);
            continue;
        }
        if (arg.size() > 2 && arg[0] == '-' && arg[1] == '-' && i + 1 < argc &&
            ParseValue(arg, argv[i + 1], &o)) {
            given.push_back(arg);
            ++i;
            continue;
        }
        if (!arg.empty() && arg[0] == '-') {
            Options probe;
            Usage(ParseValue(arg, "1", &probe) ? arg + " needs a value" : "unknown option " + arg);
        }
        o.documents.push_back(arg);
    }
    Check(&o, given);
    return o;
}

}  // namespace ZEL
