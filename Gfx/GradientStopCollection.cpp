#include <new>

#include "Gfx/Brush.h"

namespace Gfx {

Result CreateGradientStopCollection(const GradientStop* stops, uint32_t count, int extendMode,
                                    std::shared_ptr<GradientStopCollection>* out) {
    if (!out || (count > 0 && !stops))
        return kInvalidArg;
    if (extendMode < static_cast<int>(ExtendMode::Clamp) ||
        extendMode > static_cast<int>(ExtendMode::Mirror))
        return kInvalidArg;
    try {
        *out = std::make_shared<GradientStopCollection>(
            std::vector<GradientStop>(stops, stops + count), static_cast<ExtendMode>(extendMode));
    } catch (const std::bad_alloc&) {
        return kOutOfMemory;
    }
    return kOk;
}

}  // namespace Gfx
