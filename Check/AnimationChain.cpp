#include "Check/AnimationChain.h"

#include <set>
#include <string>

#include "Core/Animation.h"
#include "Core/ControllerBase.h"
#include "Core/Scenimator.h"
#include "Core/Trigger.h"

namespace ZEL {

std::optional<uint32_t> PlayLength(const Animation& animation) {
    const ControllerBase* root = animation.m_Controller.get();
    if (!root) {
        return std::nullopt;
    }
    const ControllerHead& head = root->Head();
    // A trigger finishes when it fires, at its begin (at once when that is not after 0).
    if (dynamic_cast<const Trigger*>(root)) {
        return static_cast<uint32_t>(head.begin > 0 ? head.begin : 0);
    }
    // Only a window that opens before it closes, and closes after the start, is ever left.
    if (head.loops || head.begin >= head.end || head.end <= 0) {
        return std::nullopt;
    }
    return static_cast<uint32_t>(head.end);
}

std::optional<ChainEnd> AnimationChainEnd(const Scenimator& document, uint32_t loadTime) {
    const auto& animations = document.Animations();
    std::optional<ChainEnd> end;
    std::set<std::string> played;
    uint64_t time = loadTime;
    std::string name = "MainAnim";
    for (;;) {
        auto found = animations.find(name);
        // A hand-over to a missing animation leaves the last one standing at its end.
        if (found == animations.end()) {
            return end;
        }
        if (!played.insert(name).second) {
            return std::nullopt;  // a cycle: the document never ends
        }
        const std::optional<uint32_t> length = PlayLength(*found->second);
        if (!length) {
            return end;
        }
        time += *length;
        end = ChainEnd{time, false};
        name = found->second->m_TransitionTarget;
        if (name == "null") {
            end->failsThere = true;
            return end;
        }
    }
}

}  // namespace ZEL
