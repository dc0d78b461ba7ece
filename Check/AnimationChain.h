#pragma once
#include <cstdint>
#include <optional>

namespace ZEL {

class Animation;
class Scenimator;

// How long an animation plays before it hands over: its root controller's end (a trigger's
// begin). None when it never hands over: no controller, a looping one, or an empty window.
std::optional<uint32_t> PlayLength(const Animation& animation);

// Where a document's animations end. MainAnim starts at the load time; each animation that
// ends hands over to its transition target. The chain ends with the last animation that
// ends, where it ends; it never ends when it runs into a loop, a cycle or MainAnim itself
// never ends.
struct ChainEnd {
    uint64_t time = 0;        // ms, document time
    bool failsThere = false;  // the last animation hands over to "null": Update fails
};
std::optional<ChainEnd> AnimationChainEnd(const Scenimator& document, uint32_t loadTime);

}  // namespace ZEL
