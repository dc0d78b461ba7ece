#pragma once
#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

#include "Export/DocumentRenderer.h"

namespace ZEL {

// Renders a document at the frame times of a player running at a constant rate and writes
// the frames as PNG files, as a video, or both, in a pipeline: this thread renders, one
// thread writes PNGs, one converts frames for the encoder and one encodes (the encoders add
// their own threads).
class Exporter {
  public:
    struct Settings {
        DocumentRenderer::Settings render;
        std::vector<uint32_t> times;  // document times of the frames, ms
        double fps = 60;
        std::string pngPattern;  // "%d" becomes the frame index; empty: none
        std::string video;       // empty: none
        std::string music;
        int crf = 18;
        bool progress = false;  // a progress line on standard error
    };
    struct Report {
        size_t frames = 0;
        bool stopped = false;  // ended early by a stop request; what was written plays
        double seconds = 0, renderSeconds = 0, convertSeconds = 0, encodeSeconds = 0;
        double pngSeconds = 0;
    };

    // Set from a signal handler: the export ends after the frame being drawn.
    static std::atomic<bool>& StopRequest();

    // False with the reason in *error; the video file is removed then.
    bool Run(const Settings& settings, Report* report, std::string* error);
};

// The file name of frame index in a pattern: "%d" becomes the index.
std::string FrameName(const std::string& pattern, size_t index);

}  // namespace ZEL
