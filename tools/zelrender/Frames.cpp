#include <iomanip>
#include <iostream>

#include "Core/Scenimator.h"
#include "Export/Exporter.h"
#include "Export/PngWriter.h"
#include "Export/Timeline.h"
#include "Modes.h"

namespace ZEL {

namespace {

void PrintVariables(uint32_t time, IScenimator& document, const std::string& prefix) {
    auto* doc = dynamic_cast<Scenimator*>(&document);
    if (!doc) {
        return;
    }
    for (const auto& entry : doc->Variables()) {
        std::cout << time << ' ' << prefix << entry.first << ' ' << std::setprecision(9)
                  << entry.second << '\n';
    }
    for (const auto& child : doc->ChildZels()) {
        PrintVariables(time, *child.second, prefix + child.first + "/");
    }
}

}  // namespace

int RunFrames(const Options& o, DocumentRenderer& renderer) {
    const std::vector<uint32_t> times = o.fps > 0 ? FrameTimes(o.from, o.to, o.fps) : o.times;
    std::string error;
    for (size_t i = 0; i < times.size(); ++i) {
        const uint32_t time = times[i];
        if (!renderer.Update(time, &error)) {
            Fail(error);
        }
        if (o.printVars) {
            PrintVariables(time, renderer.Document(), "");
        }
        if (!renderer.Render(&error)) {
            Fail(error);
        }
        for (const auto& hit : o.hits) {
            bool inside = false;
            if (renderer.Document().HitTest(hit.first, hit.second, &inside) != kSuccess) {
                Fail(renderer.Document().GetErrorText());
            }
            std::cout << time << " hit " << hit.first << ' ' << hit.second << ' '
                      << (inside ? 1 : 0) << '\n';
        }
        const Gfx::SizeU size = renderer.Target().GetPixelSize();
        if (!o.outPattern.empty() &&
            !WritePng(FrameName(o.outPattern, i), renderer.Pixels(), size.width, size.height,
                      renderer.Stride(), &error)) {
            Fail(error);
        }
    }
    std::cout.flush();
    return 0;
}

}  // namespace ZEL
