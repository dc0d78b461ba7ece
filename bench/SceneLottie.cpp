// The scenes as Lottie documents for the rlottie peer (bench/peer/rlottie_peer.cpp): 60
// frames a second, one frame per 1/60 s step of the benchmark clock, everything under a null
// layer whose position is the moving translation of that step (a hold keyframe per frame).
//
// Lottie says everything the scenes use, except:
// - text: rlottie has no text engine, so the text scene's glyphs are the outlines the engine
//   itself fills (TextOutline), written as paths;
// - repeat and reflect: Lottie pads only, so the stops are laid out period after period over
//   the span that covers the shape (at most kMaxPeriods periods);
// - an elliptical radial gradient is a circular one in a group squashed onto the ellipse; the
//   shape is written unsquashed inside it, so fills are exact, but a stroke painted with such
//   a gradient has its width squashed too;
// - translucent stops: rlottie blends between them its own way (on a ramp from opaque to
//   alpha 0.2 and back, up to 48 off the engine's colours).
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

#include "Scene.h"
#include "TextOutline.h"

namespace Bench {

namespace {

constexpr int kFrameRate = 60;
constexpr int kFrames = 600;  // the 10 s loop of the moving translation
constexpr int kMaxPeriods = 256;

std::string Num(double v) {
    char s[32];
    std::snprintf(s, sizeof s, "%.9g", v);
    return s;
}

std::string Pair(double x, double y) {
    return "[" + Num(x) + "," + Num(y) + "]";
}

std::string Fixed(const std::string& value) {
    return "{\"a\":0,\"k\":" + value + "}";
}

std::string Base64(const std::string& bytes) {
    static const char kDigits[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    for (size_t i = 0; i < bytes.size(); i += 3) {
        const size_t n = std::min<size_t>(3, bytes.size() - i);
        uint32_t v = 0;
        for (size_t k = 0; k < 3; ++k)
            v = v << 8 | (k < n ? static_cast<uint8_t>(bytes[i + k]) : 0);
        for (size_t k = 0; k < 4; ++k) out += k <= n ? kDigits[(v >> (18 - 6 * k)) & 63] : '=';
    }
    return out;
}

std::string PngDataUri(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file)
        throw std::runtime_error("cannot read " + path);
    const std::string bytes{std::istreambuf_iterator<char>(file), {}};
    if (bytes.empty())
        throw std::runtime_error("no image in " + path);
    return "data:image/png;base64," + Base64(bytes);
}

// Where a group's contents live: the page moved so that (cx, cy) is the origin and squashed
// by k along y. Identity for everything but an elliptical radial gradient, which is circular
// in its own space.
struct Space {
    double cx = 0, cy = 0, k = 1;
    double X(double x) const { return x - cx; }
    double Y(double y) const { return (y - cy) / k; }
    std::string At(double x, double y) const { return Pair(X(x), Y(y)); }
    bool operator==(const Space& o) const { return cx == o.cx && cy == o.cy && k == o.k; }
};

Space SpaceOf(const Paint& p) {
    if (p.kind != Paint::Kind::Radial || p.x1 <= 0 || p.y1 <= 0)
        return {};
    return {p.x0, p.y0, static_cast<double>(p.y1) / p.x1};
}

std::string GroupTransform(const Space& s) {
    return "{\"ty\":\"tr\",\"p\":" + Fixed(Pair(s.cx, s.cy)) + ",\"a\":" + Fixed(Pair(0, 0)) +
           ",\"s\":" + Fixed(Pair(100, 100 * s.k)) + ",\"r\":" + Fixed("0") +
           ",\"o\":" + Fixed("100") + ",\"sk\":" + Fixed("0") + ",\"sa\":" + Fixed("0") + "}";
}

// --- geometry ---------------------------------------------------------------------------

struct Vertex {
    double x, y, inX = 0, inY = 0, outX = 0, outY = 0;  // tangents relative to the vertex
};

std::string PathItem(const std::vector<Vertex>& v, bool closed) {
    std::string points, in, out;
    for (size_t i = 0; i < v.size(); ++i) {
        const char* sep = i ? "," : "";
        points += sep + Pair(v[i].x, v[i].y);
        in += sep + Pair(v[i].inX, v[i].inY);
        out += sep + Pair(v[i].outX, v[i].outY);
    }
    return "{\"ty\":\"sh\",\"ks\":" +
           Fixed(std::string("{\"c\":") + (closed ? "true" : "false") + ",\"v\":[" + points +
                 "],\"i\":[" + in + "],\"o\":[" + out + "]}") +
           "}";
}

// A figure as Lottie vertices in space s; a closed figure whose last point is its first ends
// on the first vertex instead of repeating it.
std::string FigureItem(const Gfx::PathFigure& f, const Space& s) {
    std::vector<Vertex> v{{s.X(f.start.x), s.Y(f.start.y)}};
    for (const Gfx::PathFigure::Segment& seg : f.segments) {
        Vertex next{s.X(seg.p3.x), s.Y(seg.p3.y)};
        if (seg.kind == Gfx::PathFigure::Kind::Bezier) {
            v.back().outX = s.X(seg.p1.x) - v.back().x, v.back().outY = s.Y(seg.p1.y) - v.back().y;
            next.inX = s.X(seg.p2.x) - next.x, next.inY = s.Y(seg.p2.y) - next.y;
        }
        v.push_back(next);
    }
    const Vertex& last = v.back();
    if (f.closed && v.size() > 1 && std::abs(last.x - v[0].x) < 1e-4 &&
        std::abs(last.y - v[0].y) < 1e-4) {
        v[0].inX = last.inX, v[0].inY = last.inY;
        v.pop_back();
    }
    return PathItem(v, f.closed);
}

Gfx::PathFigure BezierFigure(const Shape& sh) {
    Gfx::PathFigure f;
    f.start = {sh.points[0], sh.points[1]};
    f.closed = true;
    for (size_t i = 2; i + 5 < sh.points.size(); i += 6)
        f.segments.push_back({Gfx::PathFigure::Kind::Bezier,
                              {sh.points[i], sh.points[i + 1]},
                              {sh.points[i + 2], sh.points[i + 3]},
                              {sh.points[i + 4], sh.points[i + 5]}});
    return f;
}

// Bounds of a figure's points, control points included.
Gfx::RectF Hull(const Gfx::PathFigure& f) {
    Gfx::RectF r{f.start.x, f.start.y, f.start.x, f.start.y};
    const auto grow = [&r](Gfx::Point2F p) {
        r.left = std::min(r.left, p.x), r.right = std::max(r.right, p.x);
        r.top = std::min(r.top, p.y), r.bottom = std::max(r.bottom, p.y);
    };
    for (const Gfx::PathFigure::Segment& seg : f.segments) {
        if (seg.kind == Gfx::PathFigure::Kind::Bezier)
            grow(seg.p1), grow(seg.p2);
        grow(seg.p3);
    }
    return r;
}

bool Overlap(const Gfx::RectF& a, const Gfx::RectF& b) {
    return a.left <= b.right && b.left <= a.right && a.top <= b.bottom && b.top <= a.bottom;
}

// The filled figures of a text outline, glyph by glyph, as Lottie writes characters: a figure
// that overlaps the glyph before it (a counter, a dot over its stem) belongs to it, so no hole
// is ever filled apart from its outline. One group per glyph also keeps each path narrow,
// where a whole line in one path costs rlottie's scan converter several times as much.
std::vector<std::vector<std::string>> GlyphItems(const Gfx::PathData& outline, const Space& s) {
    std::vector<std::vector<std::string>> glyphs;
    Gfx::RectF bounds{};
    for (const Gfx::PathFigure& f : outline.figures) {
        if (!f.filled)
            continue;
        const Gfx::RectF hull = Hull(f);
        if (glyphs.empty() || !Overlap(bounds, hull)) {
            glyphs.emplace_back();
            bounds = hull;
        }
        bounds = {std::min(bounds.left, hull.left), std::min(bounds.top, hull.top),
                  std::max(bounds.right, hull.right), std::max(bounds.bottom, hull.bottom)};
        glyphs.back().push_back(FigureItem(f, s));
    }
    return glyphs;
}

// The shape's outline in space s as the contents of one or more groups (one per glyph for
// text), and the fill rule its paints take (1 non-zero, 2 even-odd).
std::vector<std::vector<std::string>> Outlines(const Shape& sh, const Space& s, int* rule) {
    *rule = 1;
    switch (sh.kind) {
        case Shape::Kind::Ellipse:
            return {{"{\"ty\":\"el\",\"d\":1,\"p\":" + Fixed(s.At(sh.x, sh.y)) +
                     ",\"s\":" + Fixed(Pair(2.0 * sh.w, 2.0 * sh.h / s.k)) + "}"}};
        case Shape::Kind::Rect:
            return {
                {"{\"ty\":\"rc\",\"d\":1,\"p\":" + Fixed(s.At(sh.x + sh.w / 2, sh.y + sh.h / 2)) +
                 ",\"s\":" + Fixed(Pair(sh.w, sh.h / s.k)) + ",\"r\":" + Fixed("0") + "}"}};
        case Shape::Kind::Bezier:
            return {{FigureItem(BezierFigure(sh), s)}};
        case Shape::Kind::Text: {
            const Gfx::PathData outline = TextOutline(sh);
            *rule = outline.fillMode == Gfx::FillMode::Winding ? 1 : 2;
            return GlyphItems(outline, s);
        }
        case Shape::Kind::Bitmap:
            break;
    }
    return {};
}

// --- paints -----------------------------------------------------------------------------

Stop ColourAt(const std::vector<Stop>& sorted, float t) {
    if (t <= sorted.front().offset)
        return {t, sorted.front().r, sorted.front().g, sorted.front().b, sorted.front().a};
    for (size_t i = 1; i < sorted.size(); ++i) {
        const Stop &a = sorted[i - 1], &b = sorted[i];
        if (t <= b.offset) {
            const float u = b.offset > a.offset ? (t - a.offset) / (b.offset - a.offset) : 1;
            return {t, a.r + (b.r - a.r) * u, a.g + (b.g - a.g) * u, a.b + (b.b - a.b) * u,
                    a.a + (b.a - a.a) * u};
        }
    }
    const Stop& z = sorted.back();
    return {t, z.r, z.g, z.b, z.a};
}

// One period of the ramp on 0..1, as the engine reads stops (outside 0..1 cut off there).
std::vector<Stop> UnitStops(std::vector<Stop> stops) {
    std::stable_sort(stops.begin(), stops.end(),
                     [](const Stop& a, const Stop& b) { return a.offset < b.offset; });
    std::vector<Stop> unit{ColourAt(stops, 0)};
    for (const Stop& s : stops)
        if (s.offset > 0 && s.offset < 1)
            unit.push_back(s);
    unit.push_back(ColourAt(stops, 1));
    return unit;
}

// The gradient parameter range [lo, hi] the written ramp covers, and its stops there.
struct Ramp {
    int lo = 0, hi = 1;
    std::vector<Stop> stops;  // offsets in lo..hi
};

Ramp Periods(const Paint& p, double tmin, double tmax) {
    Ramp r;
    const std::vector<Stop> unit = UnitStops(p.stops);
    if (p.extend == 0) {
        r.stops = unit;
        return r;
    }
    r.lo = static_cast<int>(std::floor(std::max(tmin, -1e6)));
    r.hi = std::min(r.lo + kMaxPeriods, std::max(r.lo + 1, static_cast<int>(std::ceil(tmax))));
    for (int k = r.lo; k < r.hi; ++k) {
        const bool mirrored = p.extend == 2 && k % 2 != 0;
        for (size_t i = 0; i < unit.size(); ++i) {
            Stop s = unit[mirrored ? unit.size() - 1 - i : i];
            s.offset = k + (mirrored ? 1 - s.offset : s.offset);
            r.stops.push_back(s);
        }
    }
    return r;
}

// Colour stops, then opacity stops at the same offsets when any stop is translucent. rlottie
// matches each colour stop with the opacity stops by dividing by the distance between them,
// so offsets must rise strictly: a hard stop (two at one offset) is moved apart by 1e-6.
std::string GradientStops(const Ramp& r) {
    std::string colours, alphas;
    bool translucent = false;
    double last = -1;
    for (const Stop& s : r.stops) {
        const double o =
            std::max(static_cast<double>(s.offset - r.lo) / (r.hi - r.lo), last + 1e-6);
        last = o;
        colours += (colours.empty() ? "" : ",") + Num(o) + "," + Num(s.r) + "," + Num(s.g) + "," +
                   Num(s.b);
        alphas += "," + Num(o) + "," + Num(s.a);
        translucent = translucent || s.a < 1;
    }
    return "{\"p\":" + std::to_string(r.stops.size()) +
           ",\"k\":" + Fixed("[" + colours + (translucent ? alphas : "") + "]") + "}";
}

// The corners of the box a shape may paint, the stroke's miters included.
std::vector<std::pair<double, double>> Corners(const Shape& sh) {
    double l = sh.x, t = sh.y, r = sh.x + sh.w, b = sh.y + sh.h;
    if (sh.kind == Shape::Kind::Ellipse) {
        l = sh.x - sh.w, t = sh.y - sh.h, r = sh.x + sh.w, b = sh.y + sh.h;
    } else if (sh.kind == Shape::Kind::Bezier) {
        l = t = 1e30, r = b = -1e30;
        for (size_t i = 0; i + 1 < sh.points.size(); i += 2) {
            l = std::min<double>(l, sh.points[i]), r = std::max<double>(r, sh.points[i]);
            t = std::min<double>(t, sh.points[i + 1]), b = std::max<double>(b, sh.points[i + 1]);
        }
    }
    const double grow = sh.stroked ? sh.strokeWidth * 5.0 : 0;  // half the width x miter limit
    return {{l - grow, t - grow}, {r + grow, t - grow}, {l - grow, b + grow}, {r + grow, b + grow}};
}

std::string LinearGradient(const Paint& p, const Shape& sh) {
    const double dx = p.x1 - p.x0, dy = p.y1 - p.y0, len2 = dx * dx + dy * dy;
    double tmin = 0, tmax = 1;
    if (len2 > 0) {
        tmin = 1e30, tmax = -1e30;
        for (const auto& c : Corners(sh)) {
            const double t = ((c.first - p.x0) * dx + (c.second - p.y0) * dy) / len2;
            tmin = std::min(tmin, t), tmax = std::max(tmax, t);
        }
    }
    const Ramp r = Periods(p, tmin, tmax);
    return ",\"t\":1,\"s\":" + Fixed(Pair(p.x0 + r.lo * dx, p.y0 + r.lo * dy)) +
           ",\"e\":" + Fixed(Pair(p.x0 + r.hi * dx, p.y0 + r.hi * dy)) +
           ",\"g\":" + GradientStops(r);
}

// In the gradient's own space (Space s) the ellipse is a circle of radius rx about the origin
// with the focus at f. The ramp's end circle for parameter hi is centred at f + hi (0 - f)
// with radius hi rx, and the focus keeps its place, so more periods are still one gradient.
std::string RadialGradient(const Paint& p, const Shape& sh, const Space& s) {
    const double rx = p.x1, fx = p.fx, fy = p.fy / s.k, fLen = std::hypot(fx, fy);
    double far = 0;
    for (const auto& c : Corners(sh))
        far = std::max(far, std::hypot(s.X(c.first) - fx, s.Y(c.second) - fy));
    const Ramp r = Periods(p, 0, rx > fLen ? far / (rx - fLen) : kMaxPeriods);
    const double cx = fx * (1 - r.hi), cy = fy * (1 - r.hi), radius = rx * r.hi;
    const double highlight = radius > 0 ? 100 * std::hypot(fx - cx, fy - cy) / radius : 0;
    const double angle = std::atan2(fy - cy, fx - cx) * 180 / M_PI;
    return ",\"t\":2,\"s\":" + Fixed(Pair(cx, cy)) + ",\"e\":" + Fixed(Pair(cx + radius, cy)) +
           ",\"h\":" + Fixed(Num(highlight)) + ",\"a\":" + Fixed(Num(angle)) +
           ",\"g\":" + GradientStops(r);
}

std::string StrokeStyle(const Shape& sh) {
    // Flat caps, miter joins, limit 10, as the engine strokes.
    return ",\"w\":" + Fixed(Num(sh.strokeWidth)) + ",\"lc\":1,\"lj\":1,\"ml\":10";
}

std::string PaintItem(const Paint& p, const Shape& sh, bool stroke, int rule, const Space& s) {
    const std::string style = stroke ? StrokeStyle(sh) : ",\"r\":" + std::to_string(rule);
    if (p.kind == Paint::Kind::Solid)
        return std::string("{\"ty\":\"") + (stroke ? "st" : "fl") +
               "\",\"c\":" + Fixed("[" + Num(p.r) + "," + Num(p.g) + "," + Num(p.b) + ",1]") +
               ",\"o\":" + Fixed(Num(100.0 * p.a)) + style + "}";
    // A gradient without stops paints nothing.
    if (p.stops.empty())
        return std::string("{\"ty\":\"") + (stroke ? "st" : "fl") +
               "\",\"c\":" + Fixed("[0,0,0,1]") + ",\"o\":" + Fixed("0") + style + "}";
    const std::string geometry =
        p.kind == Paint::Kind::Linear ? LinearGradient(p, sh) : RadialGradient(p, sh, s);
    return std::string("{\"ty\":\"") + (stroke ? "gs" : "gf") + "\",\"o\":" + Fixed("100") +
           geometry + style + "}";
}

// The outline, then its paints, topmost first, in space s.
std::string Group(std::vector<std::string> items, const std::vector<std::string>& paints,
                  const Space& s) {
    items.insert(items.end(), paints.begin(), paints.end());
    items.push_back(GroupTransform(s));
    std::string g = "{\"ty\":\"gr\",\"it\":[";
    for (size_t i = 0; i < items.size(); ++i) g += (i ? "," : "") + items[i];
    return g + "]}";
}

// The shape as groups, topmost first. Fill and stroke share a group (and its outline) when
// they can; otherwise every stroke lies above every fill, as the engine strokes after it fills.
std::vector<std::string> ShapeGroups(const Shape& sh) {
    const Space fillSpace = SpaceOf(sh.fill);
    const Space strokeSpace = sh.stroked ? SpaceOf(sh.stroke) : fillSpace;
    int rule = 1;
    const std::vector<std::vector<std::string>> outlines = Outlines(sh, fillSpace, &rule);
    const std::string fill = PaintItem(sh.fill, sh, false, rule, fillSpace);
    std::vector<std::string> groups;
    if (sh.stroked && (outlines.size() > 1 || !(strokeSpace == fillSpace))) {
        const std::string stroke = PaintItem(sh.stroke, sh, true, rule, strokeSpace);
        for (const auto& items : Outlines(sh, strokeSpace, &rule))
            groups.insert(groups.begin(), Group(items, {stroke}, strokeSpace));
        std::vector<std::string> fills;
        for (const auto& items : outlines)
            fills.insert(fills.begin(), Group(items, {fill}, fillSpace));
        groups.insert(groups.end(), fills.begin(), fills.end());
        return groups;
    }
    for (const auto& items : outlines) {
        std::vector<std::string> paints{fill};
        if (sh.stroked)
            paints.insert(paints.begin(), PaintItem(sh.stroke, sh, true, rule, fillSpace));
        groups.insert(groups.begin(), Group(items, paints, fillSpace));
    }
    return groups;
}

// --- layers -----------------------------------------------------------------------------

std::string LayerHead(int index, int type, const std::string& name) {
    return "{\"ddd\":0,\"ind\":" + std::to_string(index) + ",\"ty\":" + std::to_string(type) +
           ",\"nm\":\"" + name + "\",\"sr\":1,\"ao\":0,\"ip\":0,\"op\":" + std::to_string(kFrames) +
           ",\"st\":0,\"bm\":0";
}

std::string LayerTransform(const std::string& position, double opacity, double sx, double sy) {
    return ",\"ks\":{\"o\":" + Fixed(Num(opacity)) + ",\"r\":" + Fixed("0") + ",\"p\":" + position +
           ",\"a\":" + Fixed("[0,0,0]") +
           ",\"s\":" + Fixed("[" + Num(sx) + "," + Num(sy) + ",100]") + "}";
}

// The null layer every other layer hangs from: the moving translation, a hold keyframe per
// frame at the time the benchmarks draw that frame.
std::string MoveLayer(const Scene& scene) {
    std::string position = Fixed("[0,0,0]");
    if (scene.moving) {
        std::string keys;
        for (int k = 0; k <= kFrames; ++k) {
            double dx, dy;
            MoveAt(static_cast<uint32_t>(k * 1000 / kFrameRate), &dx, &dy);
            keys += (k ? "," : "") + std::string("{\"t\":") + std::to_string(k) + ",\"s\":[" +
                    Num(dx) + "," + Num(dy) + ",0],\"h\":1}";
        }
        position = "{\"a\":1,\"k\":[" + keys + "]}";
    }
    return LayerHead(1, 3, "move") + LayerTransform(position, 100, 100, 100) + "}";
}

std::string ImageLayer(const Shape& sh, int index) {
    return LayerHead(index, 2, "bitmap") + ",\"parent\":1,\"refId\":\"bitmap\"" +
           LayerTransform(Fixed("[" + Num(sh.x) + "," + Num(sh.y) + ",0]"), 100.0 * sh.opacity,
                          100.0 * sh.w / kBitmapSide, 100.0 * sh.h / kBitmapSide) +
           "}";
}

std::string ShapeLayer(const std::vector<std::string>& groupsTopFirst, int index) {
    std::string shapes;
    for (const std::string& g : groupsTopFirst) shapes += (shapes.empty() ? "" : ",\n") + g;
    return LayerHead(index, 4, "shapes") + ",\"parent\":1" +
           LayerTransform(Fixed("[0,0,0]"), 100, 100, 100) + ",\"shapes\":[\n" + shapes + "]}";
}

// rlottie clears the frame to transparent before it draws: the bottom layer paints it white,
// as the other renderers clear their frames.
std::string WhiteLayer(int index) {
    return LayerHead(index, 1, "white") + ",\"sc\":\"#ffffff\",\"sw\":" + std::to_string(kWidth) +
           ",\"sh\":" + std::to_string(kHeight) + LayerTransform(Fixed("[0,0,0]"), 100, 100, 100) +
           "}";
}

// Layers in drawing order: runs of shapes share a shape layer, each bitmap has its own.
std::vector<std::string> ContentLayers(const Scene& scene) {
    std::vector<std::string> layers, run;
    int index = 2;
    const auto flush = [&] {
        if (!run.empty())
            layers.push_back(ShapeLayer(run, index++));
        run.clear();
    };
    for (const Shape& sh : scene.shapes) {
        if (sh.kind == Shape::Kind::Bitmap) {
            flush();
            layers.push_back(ImageLayer(sh, index++));
            continue;
        }
        std::vector<std::string> groups = ShapeGroups(sh);
        run.insert(run.begin(), groups.begin(), groups.end());
    }
    flush();
    return layers;
}

}  // namespace

std::string ToLottie(const Scene& scene, const std::string& bitmapPath) {
    const bool bitmap = std::any_of(scene.shapes.begin(), scene.shapes.end(),
                                    [](const Shape& s) { return s.kind == Shape::Kind::Bitmap; });
    std::string assets;
    if (bitmap)
        assets = "{\"id\":\"bitmap\",\"w\":" + std::to_string(kBitmapSide) +
                 ",\"h\":" + std::to_string(kBitmapSide) + ",\"u\":\"\",\"p\":\"" +
                 PngDataUri(bitmapPath) + "\",\"e\":1}";
    const std::vector<std::string> content = ContentLayers(scene);
    std::string layers;
    for (auto it = content.rbegin(); it != content.rend(); ++it) layers += *it + ",\n";
    layers += MoveLayer(scene) + ",\n" + WhiteLayer(2 + static_cast<int>(content.size()));
    return "{\"v\":\"5.5.2\",\"fr\":" + std::to_string(kFrameRate) +
           ",\"ip\":0,\"op\":" + std::to_string(kFrames) + ",\"w\":" + std::to_string(kWidth) +
           ",\"h\":" + std::to_string(kHeight) + ",\"nm\":\"" + scene.name +
           "\",\"ddd\":0,\"assets\":[" + assets + "],\"layers\":[\n" + layers + "]}\n";
}

}  // namespace Bench
