#include "Viewer/ViewerOptions.h"

#include <cstdlib>

namespace ZEL {

const char kViewerUsage[] =
    "usage: zelview [--music FILE] [--start MS] [--dpi N] [--size WxH] DOCUMENT\n"
    "       zelview --help | --version\n"
    "\n"
    "Plays DOCUMENT in a window from its load time and reloads it whenever a file it read\n"
    "changes, keeping the document time.\n"
    "\n"
    "  --music FILE   play FILE along, position 0 at the load time\n"
    "  --start MS     the document's load time in milliseconds (default 0)\n"
    "  --dpi N        pixels per inch of the target, 24 to 960 (default: the desktop's)\n"
    "  --size WxH     window size in device-independent pixels (default 800x600)\n"
    "\n"
    "Keys: Space pause/resume; Right/Left 5 s forward/back (Shift: 1 s); period/comma one\n"
    "frame forward/back while paused; Home back to the load time; F1 inspector; F2 hit-test\n"
    "geometries; left click: what is hit there; Escape quits.\n";

namespace {

constexpr long long kMaxSideDips = 16384;
constexpr long long kMinDpi = 24;
constexpr long long kMaxDpi = 960;

bool ParseNumber(const std::string& text, long long* value) {
    if (text.empty() || text.size() > 18) {
        return false;
    }
    char* end = nullptr;
    *value = std::strtoll(text.c_str(), &end, 10);
    return *end == '\0';
}

bool ParseSize(const std::string& text, ViewerOptions* options) {
    const size_t x = text.find('x');
    long long w = 0, h = 0;
    if (x == std::string::npos || !ParseNumber(text.substr(0, x), &w) ||
        !ParseNumber(text.substr(x + 1), &h) || w < 1 || h < 1 || w > kMaxSideDips ||
        h > kMaxSideDips) {
        return false;
    }
    options->widthDips = static_cast<uint32_t>(w);
    options->heightDips = static_cast<uint32_t>(h);
    return true;
}

// One option with its value; false with *problem set when it is not one we know.
bool ParseOption(const std::string& name, const std::string& value, ViewerOptions* options,
                 std::string* problem) {
    long long n = 0;
    if (name == "--music") {
        options->music = value;
    } else if (name == "--start") {
        if (!ParseNumber(value, &n) || n < 0 || n > 0xFFFFFFFFll) {
            *problem = "--start takes a time in milliseconds: " + value;
            return false;
        }
        options->startMs = static_cast<uint32_t>(n);
    } else if (name == "--dpi") {
        if (!ParseNumber(value, &n) || n < kMinDpi || n > kMaxDpi) {
            *problem = "--dpi takes 24 to 960: " + value;
            return false;
        }
        options->dpi = static_cast<float>(n);
    } else if (!ParseSize(value, options)) {
        *problem = "--size takes WxH, 1 to 16384 a side: " + value;
        return false;
    }
    return true;
}

bool TakesValue(const std::string& arg) {
    return arg == "--music" || arg == "--start" || arg == "--dpi" || arg == "--size";
}

}  // namespace

ParseOutcome ParseViewerOptions(int argc, const char* const* argv, ViewerOptions* options,
                                std::string* problem) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            return ParseOutcome::Help;
        }
        if (arg == "--version") {
            return ParseOutcome::Version;
        }
        if (TakesValue(arg)) {
            if (i + 1 >= argc) {
                *problem = arg + " needs a value";
                return ParseOutcome::Bad;
            }
            if (!ParseOption(arg, argv[++i], options, problem)) {
                return ParseOutcome::Bad;
            }
        } else if (!arg.empty() && arg[0] == '-') {
            *problem = "unknown option " + arg;
            return ParseOutcome::Bad;
        } else if (!options->document.empty()) {
            *problem = "only one document";
            return ParseOutcome::Bad;
        } else {
            options->document = arg;
        }
    }
    if (options->document.empty()) {
        *problem = "no document";
        return ParseOutcome::Bad;
    }
    return ParseOutcome::Run;
}

}  // namespace ZEL
