#include "OperationFrame.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "TextOutline.h"

namespace Bench {

namespace {

struct Box {
    double left = 1e30, top = 1e30, right = -1e30, bottom = -1e30;
    void Add(double x, double y) {
        left = std::min(left, x), right = std::max(right, x);
        top = std::min(top, y), bottom = std::max(bottom, y);
    }
};

// Where the shape may paint on the page, its stroke's miters included.
Box PageBounds(const Shape& sh) {
    Box b;
    switch (sh.kind) {
        case Shape::Kind::Ellipse:
            b.Add(sh.x - sh.w, sh.y - sh.h), b.Add(sh.x + sh.w, sh.y + sh.h);
            break;
        case Shape::Kind::Bezier:
            for (size_t i = 0; i + 1 < sh.points.size(); i += 2)
                b.Add(sh.points[i], sh.points[i + 1]);
            break;
        case Shape::Kind::Text:
            for (const Gfx::PathFigure& f : TextOutline(sh).figures) {
                b.Add(f.start.x, f.start.y);
                for (const Gfx::PathFigure::Segment& s : f.segments)
                    b.Add(s.p1.x, s.p1.y), b.Add(s.p2.x, s.p2.y), b.Add(s.p3.x, s.p3.y);
            }
            break;
        default:
            b.Add(sh.x, sh.y), b.Add(sh.x + sh.w, sh.y + sh.h);
    }
    const double grow = sh.stroked ? sh.strokeWidth * 5.0 : 0;  // half the width x miter limit
    b.left -= grow, b.top -= grow, b.right += grow, b.bottom += grow;
    return b;
}

// The pixels of region the shape may touch in the frame at time t (empty: width 0).
Region FrameBounds(const Scene& scene, const Shape& sh, uint32_t t, const Region& region) {
    double moveX = 0, moveY = 0;
    if (scene.moving)
        MoveAt(t, &moveX, &moveY);
    const Box page = PageBounds(sh);
    const auto X = [&](double x) { return scene.scale * (x + scene.offsetX) + moveX; };
    const auto Y = [&](double y) { return scene.scale * (y + scene.offsetY) + moveY; };
    const int left = std::max(region.left, static_cast<int>(std::floor(X(page.left))) - 1);
    const int top = std::max(region.top, static_cast<int>(std::floor(Y(page.top))) - 1);
    const int right =
        std::min(region.left + region.width, static_cast<int>(std::ceil(X(page.right))) + 1);
    const int bottom =
        std::min(region.top + region.height, static_cast<int>(std::ceil(Y(page.bottom))) + 1);
    if (right <= left || bottom <= top)
        return {0, 0, 0, 0};
    return {left, top, right - left, bottom - top};
}

// A colour channel in 8 bits as Cairo makes it: 16 bits rounded, then the high byte.
int ChannelOf(double v) {
    return static_cast<int>(v * 65535.0 + 0.5) >> 8;
}

// a x b / 255, rounded as 8-bit blending rounds it.
int Multiply(int a, int b) {
    const int t = a * b + 0x80;
    return ((t >> 8) + t) >> 8;
}

// Blends paint over out through the coverage the operation's exact frame shows (black on
// white), premultiplied and rounded as Cairo blends a solid colour through a coverage mask,
// so that the frame differs from Cairo's only where coverage does.
void Blend(const Frame& coverage, const Region& where, const Region& region, const Paint& paint,
           Frame* out) {
    const double a = paint.a;
    const int source[4] = {ChannelOf(paint.b * a), ChannelOf(paint.g * a), ChannelOf(paint.r * a),
                           ChannelOf(a)};
    for (int y = 0; y < where.height; ++y)
        for (int x = 0; x < where.width; ++x) {
            const int m = 255 - coverage.At(x, y, 1);
            if (m <= 0)
                continue;
            uint8_t* px =
                &out->pixels[(static_cast<size_t>(where.top - region.top + y) * out->width +
                              where.left - region.left + x) *
                             4];
            const int alpha = Multiply(source[3], m);
            for (int ch = 0; ch < 4; ++ch)
                px[ch] =
                    static_cast<uint8_t>(Multiply(source[ch], m) + Multiply(px[ch], 255 - alpha));
        }
}

// The scene with only the one operation, in opaque black.
Scene Alone(const Scene& scene, const Shape& sh, bool stroke) {
    Scene one = scene;
    Shape op = sh;
    op.fill = Paint{};  // opaque black
    if (stroke) {
        op.fill.a = 0;
        op.stroke = Paint{};
    }
    op.stroked = stroke;
    one.shapes = {op};
    return one;
}

}  // namespace

bool SolidPaintsOnly(const Scene& scene) {
    return std::all_of(scene.shapes.begin(), scene.shapes.end(), [](const Shape& s) {
        return s.kind != Shape::Kind::Bitmap && s.fill.kind == Paint::Kind::Solid &&
               (!s.stroked || s.stroke.kind == Paint::Kind::Solid);
    });
}

Frame OperationFrame(const Scene& scene, uint32_t t, const Region& region,
                     const std::filesystem::path& dir, int scale) {
    if (!SolidPaintsOnly(scene))
        throw std::invalid_argument(scene.name + " has paints other than solid colours");
    Frame out{region.width, region.height,
              std::vector<uint8_t>(static_cast<size_t>(region.width) * region.height * 4, 255)};
    for (const Shape& sh : scene.shapes) {
        const Region where = FrameBounds(scene, sh, t, region);
        if (where.width == 0)
            continue;
        Blend(ExactFrame(Alone(scene, sh, false), t, where, dir, scale), where, region, sh.fill,
              &out);
        if (sh.stroked)
            Blend(ExactFrame(Alone(scene, sh, true), t, where, dir, scale), where, region,
                  sh.stroke, &out);
    }
    return out;
}

}  // namespace Bench
