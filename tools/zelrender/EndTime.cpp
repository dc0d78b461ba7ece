// Where a timeline ends when --to is not given.
#include <algorithm>

#include "Check/AnimationChain.h"
#include "Core/Scenimator.h"
#include "Export/DocumentRenderer.h"
#include "Modes.h"

namespace ZEL {

uint32_t EndOfAnimations(const Options& o) {
    constexpr uint32_t kPlayersEnd = 154000;  // ms, where the players stop
    DocumentRenderer::Settings s = RenderSettings(o);
    s.width = s.height = 1;  // only the object graph is wanted
    DocumentRenderer probe;
    std::string error;
    if (!probe.Open(s, &error)) {
        return kPlayersEnd;  // the run that follows reports the error
    }
    const auto* document = dynamic_cast<const Scenimator*>(&probe.Document());
    const auto end = document ? AnimationChainEnd(*document, o.start) : std::nullopt;
    if (!end) {
        return kPlayersEnd;
    }
    // A hand-over to "null" fails at the end: stop one millisecond before.
    const uint64_t last = end->failsThere && end->time > 0 ? end->time - 1 : end->time;
    return static_cast<uint32_t>(std::min<uint64_t>(last, UINT32_MAX));
}

}  // namespace ZEL
