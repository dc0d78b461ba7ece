#pragma once
#include <cstdint>
#include <string>
#include <vector>

// The benchmark scenes as plain data, so that the engine (as a document), hand-written
// Cairo and the Skia peer (as JSON) all draw exactly the same shapes.
namespace Bench {

struct Stop {
    float offset, r, g, b, a;
};

struct Paint {
    enum class Kind { Solid, Linear, Radial };
    Kind kind = Kind::Solid;
    float r = 0, g = 0, b = 0, a = 1;  // solid
    // Linear: start (x0, y0) and end (x1, y1). Radial: centre (x0, y0), radii (x1, y1), the
    // focus offset from the centre (fx, fy).
    float x0 = 0, y0 = 0, x1 = 0, y1 = 0, fx = 0, fy = 0;
    std::vector<Stop> stops;
    int extend = 0;  // 0 pad, 1 repeat, 2 reflect
};

struct Shape {
    enum class Kind { Ellipse, Rect, Bezier, Bitmap, Text };
    Kind kind = Kind::Rect;
    // Ellipse: centre (x, y), radii (w, h). Rect, bitmap and text: the box.
    float x = 0, y = 0, w = 0, h = 0;
    std::vector<float> points;  // bezier: start x y, then per segment p1 p2 p3 (6 floats)
    std::string text;           // text: one line without spaces, centred in the box
    float size = 0;             // text: em size in pixels
    Paint fill;
    bool stroked = false;
    Paint stroke;
    float strokeWidth = 0;
    float opacity = 1;  // bitmap
};

struct Scene {
    std::string name;
    std::string what;  // for tables
    std::vector<Shape> shapes;
    // Everything under one translation that changes every frame by a fraction of a pixel.
    bool moving = false;
    // Static scenes: a constant translation in pixels, then a scale about the origin
    // (zelbench --shift moves scenes by less than a pixel, and magnifies them, with these).
    double offsetX = 0, offsetY = 0, scale = 1;
};

constexpr int kWidth = 800, kHeight = 600;
constexpr int kBitmapSide = 64;  // the bitmap scene's image, pixels a side

// The translation of moving scenes at time t in ms: 37 x 23 pixels every 10 s, looping.
void MoveAt(uint32_t t, double* dx, double* dy);

// Every kind of scene, each static and moving ("<kind>" and "<kind>_moving").
std::vector<Scene> MakeScenes();

std::string ToDocument(const Scene& scene, const std::string& bitmapPath);
std::string ToJson(const Scene& scene, const std::string& bitmapPath);
// A Lottie document for the rlottie peer (the bitmap embedded); throws when the bitmap can't
// be read or the text can't be laid out.
std::string ToLottie(const Scene& scene, const std::string& bitmapPath);

}  // namespace Bench
