// Offscreen driver of the engine: loads a document, updates and renders it at chosen times
// exactly as the players do, and writes frames, variables, hit tests, timings or videos.
#include <algorithm>
#include <iostream>

#include "Export/Timeline.h"
#include "Modes.h"

namespace ZEL {

void Fail(const std::string& text) {
    std::cout.flush();
    std::cerr << text << std::endl;
    std::exit(1);
}

DocumentRenderer::Settings RenderSettings(const Options& o) {
    DocumentRenderer::Settings s;
    s.document = o.document;
    s.width = o.width;
    s.height = o.height;
    s.dpi = o.dpi;
    s.start = o.start;
    s.raster = o.raster;
    return s;
}

}  // namespace ZEL

int main(int argc, char** argv) {
    using namespace ZEL;
    Options o = ParseOptions(argc, argv);
    if (o.check) {
        return RunCheck(o);
    }
    if (o.fps > 0 && !o.toGiven) {
        o.to = std::max(o.from, EndOfAnimations(o));
    }
    if (o.fps > 0 && (!o.video.empty() || !o.outPattern.empty())) {
        return RunExport(o);
    }
    DocumentRenderer renderer;
    std::string error;
    if (!renderer.Open(RenderSettings(o), &error)) {
        Fail(error);
    }
    if (o.soak > 0) {
        return RunSoak(o, renderer);
    }
    if (o.bench > 0) {
        return RunBench(o, renderer);
    }
    return RunFrames(o, renderer);
}
