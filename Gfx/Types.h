#pragma once
#include <cstdint>

namespace Gfx {

struct Point2F {
    float x = 0;
    float y = 0;
};

struct SizeF {
    float width = 0;
    float height = 0;
};

struct SizeU {
    uint32_t width = 0;
    uint32_t height = 0;
};

// Edges, not origin and size: right < left is kept as given.
struct RectF {
    float left = 0;
    float top = 0;
    float right = 0;
    float bottom = 0;
};

// Straight (not premultiplied) colour channels, normally 0..1, never clamped here.
struct ColorF {
    float r = 0;
    float g = 0;
    float b = 0;
    float a = 0;
};

}  // namespace Gfx
