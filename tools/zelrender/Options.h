#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "Gfx/RasterOptions.h"

namespace ZEL {

struct Options {
    uint32_t width = 800, height = 600;  // pixels
    bool sizeGiven = false;
    float dpi = 96;
    uint32_t start = 0;           // load time, ms
    std::vector<uint32_t> times;  // --at
    double fps = 0;               // timeline mode when set
    uint32_t from = 0, to = 154000;
    bool fromGiven = false;
    bool toGiven = false;  // else: where the animations end (see EndOfAnimations)
    std::string outPattern;
    std::string video, music;
    int crf = 18;
    bool quiet = false;
    bool printVars = false;
    std::vector<std::pair<int32_t, int32_t>> hits;
    int bench = 0;
    int soak = 0;
    Gfx::RasterOptions raster;
    std::string document;
    // --check
    bool check = false;
    std::vector<std::string> documents;
    std::optional<uint32_t> run;  // ms
    bool strict = false;
};

// Parses the command line; prints the usage and exits with 0 for --help, 2 for bad words.
Options ParseOptions(int argc, char** argv);

}  // namespace ZEL
