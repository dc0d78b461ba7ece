#include "Scene.h"

#include <cmath>

namespace Bench {

namespace {

constexpr int kPeriod = 10000;  // ms of one sweep of the moving scenes

const float kPalette[8][3] = {{0.9f, 0.2f, 0.4f}, {0.2f, 0.6f, 0.9f}, {1.0f, 0.6f, 0.1f},
                              {0.3f, 0.8f, 0.5f}, {0.6f, 0.3f, 0.9f}, {0.9f, 0.9f, 0.2f},
                              {0.1f, 0.3f, 0.5f}, {0.8f, 0.4f, 0.7f}};

// Deterministic scatter: the same layout on every run and in every renderer.
unsigned Hash(int i) {
    return static_cast<unsigned>(i) * 2654435761u;
}

Paint Solid(int i, float alpha = 1) {
    Paint p;
    p.r = kPalette[i % 8][0], p.g = kPalette[i % 8][1], p.b = kPalette[i % 8][2], p.a = alpha;
    return p;
}

Scene Ellipses(float alpha) {
    Scene s;
    for (int i = 0; i < 1000; ++i) {
        const unsigned h = Hash(i);
        Shape e;
        e.kind = Shape::Kind::Ellipse;
        e.x = static_cast<float>(h % 800), e.y = static_cast<float>((h >> 10) % 600);
        e.w = e.h = 5.0f + static_cast<float>((h >> 20) % 20);
        e.fill = Solid(i, alpha);
        s.shapes.push_back(e);
    }
    return s;
}

Scene LinearRects() {
    Scene s;
    for (int i = 0; i < 200; ++i) {
        Shape r;
        r.x = (i % 20) * 40.0f, r.y = (i / 20) * 60.0f, r.w = 38, r.h = 58;
        r.fill.kind = Paint::Kind::Linear;
        r.fill.x0 = r.x, r.fill.y0 = r.y, r.fill.x1 = r.x + 38, r.fill.y1 = r.y + 58;
        const float* c = kPalette[i % 8];
        r.fill.stops = {{0, c[0], c[1], c[2], 1}, {1, 0, 0, 0.2f, 1}};
        s.shapes.push_back(r);
    }
    return s;
}

Scene RadialEllipses() {
    Scene s;
    for (int i = 0; i < 100; ++i) {
        const unsigned h = Hash(i + 7);
        Shape e;
        e.kind = Shape::Kind::Ellipse;
        e.x = static_cast<float>(h % 800), e.y = static_cast<float>((h >> 10) % 600);
        e.w = 30.0f + static_cast<float>((h >> 20) % 30), e.h = e.w * 0.75f;
        e.fill.kind = Paint::Kind::Radial;
        e.fill.x0 = e.x, e.fill.y0 = e.y, e.fill.x1 = e.w, e.fill.y1 = e.h;
        e.fill.fx = -e.w * 0.3f, e.fill.fy = -e.h * 0.3f;
        const float* c = kPalette[i % 8];
        e.fill.stops = {{0, 1, 1, 1, 1}, {0.6f, c[0], c[1], c[2], 1}, {1, 0.1f, 0.1f, 0.2f, 1}};
        s.shapes.push_back(e);
    }
    return s;
}

Scene BezierPaths() {
    Scene s;
    for (int i = 0; i < 100; ++i) {
        const unsigned h = Hash(i + 13);
        const float cx = static_cast<float>(h % 760 + 20),
                    cy = static_cast<float>((h >> 10) % 560 + 20);
        const float r = 20.0f + static_cast<float>((h >> 20) % 40);
        Shape p;
        p.kind = Shape::Kind::Bezier;
        p.points = {cx + r, cy};
        // A wobbly closed blob of four curves.
        for (int k = 0; k < 4; ++k) {
            const double a0 = k * M_PI / 2, a1 = (k + 1) * M_PI / 2;
            const float bulge = 0.55f * r * (k % 2 ? 1.4f : 0.7f);
            const float x0 = cx + r * static_cast<float>(std::cos(a0));
            const float y0 = cy + r * static_cast<float>(std::sin(a0));
            const float x1 = cx + r * static_cast<float>(std::cos(a1));
            const float y1 = cy + r * static_cast<float>(std::sin(a1));
            p.points.insert(p.points.end(),
                            {x0 - bulge * static_cast<float>(std::sin(a0)),
                             y0 + bulge * static_cast<float>(std::cos(a0)),
                             x1 + bulge * static_cast<float>(std::sin(a1)),
                             y1 - bulge * static_cast<float>(std::cos(a1)), x1, y1});
        }
        p.fill = Solid(i, 0.8f);
        p.stroked = true;
        p.stroke = Solid(i + 3);
        p.strokeWidth = 3;
        s.shapes.push_back(p);
    }
    return s;
}

Scene Bitmaps() {
    Scene s;
    for (int i = 0; i < 100; ++i) {
        Shape b;
        b.kind = Shape::Kind::Bitmap;
        b.x = (i % 10) * 80.0f, b.y = (i / 10) * 60.0f, b.w = 80, b.h = 80;
        b.opacity = 0.8f;
        s.shapes.push_back(b);
    }
    return s;
}

Scene FullGradient() {
    Scene s;
    Shape r;
    r.w = kWidth, r.h = kHeight;
    r.fill.kind = Paint::Kind::Linear;
    r.fill.x1 = kWidth, r.fill.y1 = kHeight;
    r.fill.stops = {{0, 0.1f, 0.1f, 0.3f, 1}, {0.5f, 0.9f, 0.4f, 0.3f, 1}, {1, 1, 0.9f, 0.6f, 1}};
    s.shapes.push_back(r);
    return s;
}

Scene Text() {
    Scene s;
    const std::string letters = "ThequickbrownfoxjumpsoverthelazydogTHEQUICKBROWNFOX0123456789";
    for (int line = 0; line < 20; ++line) {
        Shape t;
        t.kind = Shape::Kind::Text;
        t.x = 0, t.y = 10 + line * 29.0f, t.w = kWidth, t.h = 29;
        t.text = letters.substr(line % 20, 40);
        t.size = 20;
        t.fill = Solid(6);
        s.shapes.push_back(t);
    }
    return s;
}

Scene Named(Scene s, const std::string& name, const std::string& what) {
    s.name = name;
    s.what = what;
    return s;
}

}  // namespace

void MoveAt(uint32_t t, double* dx, double* dy) {
    const double f = static_cast<double>(t % kPeriod) / kPeriod;
    *dx = 37 * f;
    *dy = 23 * f;
}

std::vector<Scene> MakeScenes() {
    const std::vector<Scene> kinds = {
        Named(Ellipses(1), "ellipses", "1,000 antialiased ellipses, solid"),
        Named(Ellipses(0.5f), "ellipses_alpha", "the same at alpha 0.5"),
        Named(LinearRects(), "linear_rects", "200 linear-gradient rectangles"),
        Named(RadialEllipses(), "radial_ellipses", "100 radial-gradient ellipses"),
        Named(BezierPaths(), "bezier_paths", "100 Bezier paths, fill and stroke"),
        Named(Bitmaps(), "bitmaps", "100 scaled bitmaps at opacity 0.8"),
        Named(FullGradient(), "full_gradient", "one full-frame linear gradient"),
        Named(Text(), "text", "800 glyphs of text (outlines)"),
    };
    std::vector<Scene> all;
    for (const Scene& kind : kinds) {
        all.push_back(kind);
        Scene moving = kind;
        moving.name += "_moving";
        moving.moving = true;
        all.push_back(moving);
    }
    return all;
}

}  // namespace Bench
