#pragma once
#include <cstdint>
#include <string>

namespace ZEL {

// What the command line asks of zelview.
struct ViewerOptions {
    std::string document;
    std::string music;     // none when empty
    uint32_t startMs = 0;  // the document's load time
    float dpi = 0;         // 0: the desktop's
    uint32_t widthDips = 800;
    uint32_t heightDips = 600;
};

enum class ParseOutcome { Run, Help, Version, Bad };

extern const char kViewerUsage[];

// Reads argv into *options; on Bad, *problem says why.
ParseOutcome ParseViewerOptions(int argc, const char* const* argv, ViewerOptions* options,
                                std::string* problem);

}  // namespace ZEL
