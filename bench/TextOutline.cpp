#include "TextOutline.h"

#include "Core/Text.h"

namespace Bench {

Gfx::PathData TextOutline(const Shape& text) {
    // The same block ToDocument writes ("font Arial"), built as the engine builds it.
    ZEL::Text block(text.text, "Arial", ZEL::ValueD(text.size), ZEL::ValueD(text.x),
                    ZEL::ValueD(text.y), ZEL::ValueD(text.w), ZEL::ValueD(text.h));
    const std::shared_ptr<Gfx::Geometry> outline = block.GetResource();
    return outline ? outline->Data() : Gfx::PathData{};
}

}  // namespace Bench
