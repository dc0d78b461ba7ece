#include "Import/Converter.h"

#include <algorithm>
#include <cmath>

#include <functional>

#include "Import/Outline.h"
#include "Import/StyleSheet.h"
#include "Import/SvgFile.h"
#include "Import/TextMeasure.h"

namespace Import {

namespace {

constexpr int kMaxTextBytes = 4096;
// The player draws nothing beyond this (document units); numbers past it are refused here.
constexpr double kMaxCoordinate = 1e7;
constexpr int kMaxElements = 1000000;
// Largest deviation of flattened curves from the drawing, in document pixels.
constexpr double kTolerancePixels = 0.05;

bool IsContainer(const std::string& n) {
    return n == "g" || n == "a" || n == "switch" || n == "svg" || n == "use";
}

bool IsShape(const std::string& n) {
    return n == "rect" || n == "circle" || n == "ellipse" || n == "line" || n == "polyline" ||
           n == "polygon" || n == "path";
}

// Elements that never draw where they stand.
bool IsSilent(const std::string& n) {
    static const std::set<std::string> kNames = {
        "#text",       "defs",      "symbol",         "clipPath",       "mask",
        "pattern",     "marker",    "linearGradient", "radialGradient", "style",
        "title",       "desc",      "metadata",       "script",         "filter",
        "font",        "font-face", "glyph",          "missing-glyph",  "cursor",
        "view",        "stop",      "color-profile",  "solidColor",     "solidcolor",
        "meshgradient"};
    return kNames.count(n) > 0;
}

std::string Point2(Point p, int decimals) {
    return "Point{ " + Num(p.x, decimals) + " " + Num(p.y, decimals) + " }";
}

// xml:space="default": newlines go, tabs become spaces, runs of spaces become one.
std::string CollapseSpaces(const std::string& text, bool preserve, bool* lastWasSpace) {
    std::string out;
    for (char c : text) {
        if (c == '\n' || c == '\r') {
            if (preserve)
                c = ' ';
            else
                continue;
        }
        if (c == '\t')
            c = ' ';
        if (c == ' ' && !preserve) {
            if (*lastWasSpace)
                continue;
            *lastWasSpace = true;
        } else {
            *lastWasSpace = false;
        }
        out += c;
    }
    return out;
}

std::string FirstNumberList(const std::string* value) {
    if (!value)
        return {};
    std::string first;
    for (char c : *value) {
        if (c == ',' || c == ' ' || c == '\t' || c == '\n') {
            if (!first.empty())
                break;
            continue;
        }
        first += c;
    }
    return first;
}

bool HasSeveral(const std::string* value) {
    if (!value)
        return false;
    const std::string first = FirstNumberList(value);
    std::string rest = value->substr(value->find(first) + first.size());
    return rest.find_first_not_of(" ,\t\n") != std::string::npos;
}

}  // namespace

Converter::Converter(Element& root, const ConvertOptions& options, Diagnostics* diagnostics)
    : m_Root(root),
      m_Options(options),
      m_Diag(diagnostics),
      m_Writer(options.prefix),
      m_Images(options.images, diagnostics) {}

void Converter::IndexIds(const Element& e) {
    const std::string id = e.Id();
    if (!id.empty() && !m_Ids.count(id)) {
        m_Ids[id] = &e;
    }
    for (const auto& child : e.children) {
        IndexIds(*child);
    }
}

Style Converter::StyleOf(const Element& e) {
    auto cached = m_StyleCache.find(&e);
    if (cached != m_StyleCache.end()) {
        return cached->second;
    }
    const Style parent = e.parent ? StyleOf(*e.parent) : Style();
    Style style = ComputeStyle(parent, e, m_Diag);
    m_StyleCache[&e] = style;
    return style;
}

std::string Converter::LabelOf(const Element& e) {
    auto found = m_Labels.find(&e);
    if (found != m_Labels.end()) {
        return found->second;
    }
    std::string label = e.Id();
    if (label.empty()) {
        label = e.name + std::to_string(++m_LabelCounts[e.name]);
    }
    m_Labels[&e] = label;
    return label;
}

double Converter::Len(const Element& e, const char* key, double reference, double fontSize,
                      double fallback) {
    const std::string* text = e.Attribute(key);
    Import::Length l;
    if (!text || !ParseLength(*text, &l)) {
        return fallback;
    }
    return l.Resolve(fontSize, reference);
}

ConvertResult Converter::Run() {
    IndexIds(m_Root);
    CollectStyleSheets(m_Root, m_Diag).Cascade(&m_Root);
    m_Paint = std::make_unique<PaintServer>(
        m_Ids, [this](const Element& e) { return StyleOf(e); }, m_Diag);

    double viewBox[4] = {0, 0, 0, 0};
    const std::string* vbText = m_Root.Attribute("viewBox");
    const bool hasViewBox =
        vbText && ParseViewBox(*vbText, viewBox) && viewBox[2] > 0 && viewBox[3] > 0;
    AspectRatio ratio;
    if (const std::string* par = m_Root.Attribute("preserveAspectRatio")) {
        ParseAspectRatio(*par, &ratio);
    }
    auto own = [&](const char* key, double fromViewBox) {
        Import::Length l;
        const std::string* text = m_Root.Attribute(key);
        if (text && ParseLength(*text, &l) && l.unit != Length::Unit::Percent && l.value > 0) {
            return l.Resolve(16, 0);
        }
        return hasViewBox ? fromViewBox : 100.0;
    };
    const double w0 = own("width", viewBox[2]), h0 = own("height", viewBox[3]);
    ConvertResult result;
    result.width = m_Options.width > 0 ? m_Options.width : w0;
    result.height = m_Options.height > 0 ? m_Options.height : h0;
    if (!hasViewBox) {
        viewBox[0] = viewBox[1] = 0;
        viewBox[2] = w0;
        viewBox[3] = h0;
    }
    const Affine view = ViewBoxMap(viewBox, ratio, 0, 0, result.width, result.height);

    Frame frame;
    frame.ctm = view;
    frame.viewport = {viewBox[2], viewBox[3]};
    Commands main;
    TransformStep viewStep;
    viewStep.kind = TransformStep::Kind::Matrix;
    const double v[6] = {view.a, view.b, view.c, view.d, view.e, view.f};
    std::copy(v, v + 6, viewStep.v);
    const int pushed = view.IsIdentity() ? 0 : PushStep("view", viewStep, &main);
    const Style rootStyle = StyleOf(m_Root);
    CheckUnsupported(m_Root, rootStyle);
    frame.opacity = rootStyle.opacity;
    for (const auto& child : m_Root.children) {
        Draw(*child, rootStyle, frame, &main, true);
    }
    Pop(pushed, &main);
    const std::string mainName = m_Writer.AddProcedure("draw", main);
    result.document = m_Writer.Text(mainName);
    result.files = m_Images.Files();
    return result;
}

void Converter::CheckUnsupported(const Element& e, const Style& style) {
    if (!style.filter.empty())
        m_Diag->NotImported(e.line, "<filter>", LabelOf(e));
    if (!style.mask.empty())
        m_Diag->NotImported(e.line, "<mask>", LabelOf(e));
    if (style.markers)
        m_Diag->NotImported(e.line, "<marker>", LabelOf(e));
}

void Converter::NoteDrawn(const Box& box) {
    m_Drawn.push_back(box);
}

void Converter::Draw(const Element& e, const Style& parent, const Frame& frame, Commands* out,
                     bool topLevel) {
    if (IsSilent(e.name)) {
        return;
    }
    if (!IsContainer(e.name) && !IsShape(e.name) && e.name != "text" && e.name != "image") {
        m_Diag->NotImported(e.line, "<" + e.name + ">", LabelOf(e));
        return;
    }
    if (m_Depth > 2 * kMaxDepth) {
        m_Diag->Warn(e.line, "too-deep", LabelOf(e),
                     "\"" + LabelOf(e) + "\" is nested too deeply; it is not imported");
        return;
    }
    Style style = ComputeStyle(parent, e, m_Diag);
    if (!style.display) {
        return;
    }
    CheckUnsupported(e, style);
    std::vector<TransformStep> steps;
    if (const std::string* t = e.Attribute("transform")) {
        if (!ParseTransformList(*t, &steps)) {
            m_Diag->Warn(e.line, "bad-transform", LabelOf(e),
                         "the transform of \"" + LabelOf(e) +
                             "\" is not understood; it is "
                             "ignored");
        }
    }
    Frame inner = frame;
    for (const auto& step : steps) {
        for (double v : step.v) {
            if (!(std::fabs(v) <= kMaxCoordinate)) {
                m_Diag->Warn(e.line, "huge", LabelOf(e),
                             "the transform of \"" + LabelOf(e) +
                                 "\" holds numbers beyond 1e7; it is not imported");
                return;
            }
        }
        inner.ctm = inner.ctm * step.ToAffine();
    }
    if (!inner.ctm.IsFinite() || std::fabs(inner.ctm.Determinant()) < 1e-18) {
        return;  // a singular transform draws nothing
    }
    // Every element drawn, also through <use>, counts: a few uses of uses must not
    // multiply into billions of commands.
    if (++m_Elements > kMaxElements) {
        m_Diag->Warn(e.line, "too-many", "",
                     "the drawing holds more than 1000000 elements, counting those drawn "
                     "through <use>; the rest is not imported");
        return;
    }
    const bool container = IsContainer(e.name);
    if (container && !style.clipPath.empty()) {
        AddClip(e, style, nullptr, &inner);
    }
    if (container) {
        inner.opacity = frame.opacity * style.opacity;
        style.opacity = 1;
    }
    Commands own;
    Commands* target = (topLevel && (e.name == "g" || e.name == "a")) ? &own : out;
    const size_t drawnBefore = m_Drawn.size();
    ++m_Depth;
    const int pushed = PushTransforms(e, steps, frame, target);
    DrawContent(e, style, inner, target, topLevel);
    Pop(pushed, target);
    --m_Depth;
    if (target == &own && !own.empty()) {
        out->push_back("Call{ " + m_Writer.AddProcedure(LabelOf(e), own) + " }");
    }
    if (container && inner.opacity < frame.opacity) {
        // Beyond a few thousand shapes the pairs cost more than the answer is worth.
        constexpr size_t kMaxCompared = 2000;
        bool overlap = m_Drawn.size() - drawnBefore > kMaxCompared;
        for (size_t i = drawnBefore; i < m_Drawn.size() && !overlap; ++i) {
            for (size_t j = i + 1; j < m_Drawn.size() && !overlap; ++j) {
                overlap = m_Drawn[i].Intersects(m_Drawn[j]);
            }
        }
        if (overlap) {
            m_Diag->Warn(e.line, "group-opacity", LabelOf(e),
                         "group opacity on \"" + LabelOf(e) +
                             "\" is applied to each shape, where they overlap it differs");
        }
    }
}

void Converter::DrawChildren(const Element& e, const Style& style, const Frame& frame,
                             Commands* out, bool topLevel) {
    for (const auto& child : e.children) {
        Draw(*child, style, frame, out, topLevel);
    }
}

void Converter::DrawContent(const Element& e, const Style& style, const Frame& frame, Commands* out,
                            bool topLevel) {
    if (e.name == "g" || e.name == "a") {
        // A drawing program's layer is a folder, not a piece: the groups in a top-level
        // layer get procedures of their own too.
        const std::string* mode = e.Attribute("inkscape:groupmode");
        DrawChildren(e, style, frame, out, topLevel && mode && *mode == "layer");
    } else if (e.name == "switch") {
        for (const auto& child : e.children) {
            if (child->name != "#text" && !child->Attribute("requiredExtensions") &&
                !child->Attribute("requiredFeatures")) {
                Draw(*child, style, frame, out, false);
                break;
            }
        }
    } else if (e.name == "svg") {
        DrawViewport(e, e, style, frame, out, nullptr, nullptr);
    } else if (e.name == "use") {
        DrawUse(e, style, frame, out);
    } else if (e.name == "text") {
        DrawText(e, style, frame, out);
    } else if (e.name == "image") {
        DrawImage(e, style, frame, out);
    } else {
        DrawShape(e, style, frame, out);
    }
}

int Converter::PushTransforms(const Element& e, const std::vector<TransformStep>& steps,
                              const Frame& frame, Commands* out) {
    (void)frame;
    int pushed = 0;
    for (const auto& step : steps) {
        pushed += PushStep(LabelOf(e), step, out);
    }
    return pushed;
}

int Converter::PushStep(const std::string& label, const TransformStep& step, Commands* out) {
    int pushed = 0;
    auto push = [&](const std::string& suffix, const std::string& body) {
        out->push_back("PushTransform{ " + m_Writer.AddTransform(label + suffix, body) + " }");
        ++pushed;
    };
    // Steps written in the SVG are kept even when they do nothing (rotate(0) is a handle to
    // animate); the parts of a decomposed matrix only when they do something.
    auto translate = [&](const std::string& suffix, double x, double y, bool always) {
        if (always || x != 0 || y != 0) {
            push(suffix, "Translation{ x " + Num(x, 4) + " y " + Num(y, 4) + " }");
        }
    };
    auto rotate = [&](const std::string& suffix, double degrees, bool always) {
        if (always || std::fabs(degrees) > 1e-9) {
            push(suffix, "Rotation{ t " + Num(degrees, 4) + " }");
        }
    };
    auto scale = [&](double x, double y, bool always) {
        if (always || x != 1 || y != 1) {
            push(".scale", "Scale{ x " + Num(x, 6) + " y " + Num(y, 6) + " }");
        }
    };
    const double* v = step.v;
    switch (step.kind) {
        case TransformStep::Kind::Translate:
            translate(".move", v[0], v[1], true);
            break;
        case TransformStep::Kind::Scale:
            scale(v[0], v[1], true);
            break;
        case TransformStep::Kind::Rotate:
            translate(".pivot", v[1], v[2], false);
            rotate(".turn", v[0], true);
            translate(".unpivot", -v[1], -v[2], false);
            break;
        case TransformStep::Kind::Matrix:
            translate(".move", v[4], v[5], false);
            if (v[1] == 0 && v[2] == 0) {
                scale(v[0], v[3], false);
            } else {
                const Decomposition d = Decompose(step.ToAffine());
                rotate(".turn", d.phi, false);
                scale(d.sx, d.sy, false);
                rotate(".tilt", d.theta, false);
            }
            break;
    }
    return pushed;
}

void Converter::Pop(int count, Commands* out) {
    for (int i = 0; i < count; ++i) {
        out->push_back("PopTransform{ }");
    }
}

void Converter::DrawViewport(const Element& e, const Element& content, const Style& style,
                             const Frame& frame, Commands* out, const std::string* widthOverride,
                             const std::string* heightOverride) {
    const double fs = style.fontSizePx;
    const double x = content.name == "svg" ? Len(content, "x", frame.viewport.x, fs) : 0;
    const double y = content.name == "svg" ? Len(content, "y", frame.viewport.y, fs) : 0;
    auto size = [&](const std::string* over, const char* key, double reference) {
        Import::Length l;
        const std::string* text = over ? over : content.Attribute(key);
        if (text && ParseLength(*text, &l))
            return l.Resolve(fs, reference);
        return reference;  // 100%
    };
    const double w = size(widthOverride, "width", frame.viewport.x);
    const double h = size(heightOverride, "height", frame.viewport.y);
    if (!(w > 0) || !(h > 0)) {
        return;
    }
    double vb[4] = {0, 0, w, h};
    Frame inner = frame;
    inner.viewport = {w, h};
    TransformStep place;
    place.kind = TransformStep::Kind::Matrix;
    Affine map = Affine::Translate(x, y);
    const std::string* vbText = content.Attribute("viewBox");
    if (vbText && ParseViewBox(*vbText, vb)) {
        if (!(vb[2] > 0 && vb[3] > 0))
            return;
        AspectRatio ratio;
        if (const std::string* par = content.Attribute("preserveAspectRatio")) {
            ParseAspectRatio(*par, &ratio);
        }
        map = ViewBoxMap(vb, ratio, x, y, w, h);
        inner.viewport = {vb[2], vb[3]};
    }
    inner.ctm = frame.ctm * map;
    const double v[6] = {map.a, map.b, map.c, map.d, map.e, map.f};
    std::copy(v, v + 6, place.v);
    const int pushed = map.IsIdentity() ? 0 : PushStep(LabelOf(e) + ".view", place, out);
    DrawChildren(content, style, inner, out, false);
    Pop(pushed, out);
}

void Converter::DrawUse(const Element& e, const Style& style, const Frame& frame, Commands* out) {
    const std::string* href = e.Attribute("href");
    if (!href || href->empty()) {
        return;
    }
    if ((*href)[0] != '#') {
        m_Diag->Warn(e.line, "use-external", LabelOf(e),
                     "<use> on \"" + LabelOf(e) + "\" names another file; it is not imported");
        return;
    }
    auto found = m_Ids.find(href->substr(1));
    if (found == m_Ids.end()) {
        m_Diag->Warn(e.line, "use-missing", LabelOf(e),
                     "<use> on \"" + LabelOf(e) + "\" names \"" + href->substr(1) +
                         "\", which does not exist");
        return;
    }
    const Element& target = *found->second;
    bool ancestor = false;
    for (const Element* up = &e; up; up = up->parent) ancestor = ancestor || up == &target;
    if (ancestor || m_Expanding.count(&target)) {
        m_Diag->Warn(e.line, "use-cycle", LabelOf(e),
                     "<use> on \"" + LabelOf(e) + "\" refers to itself; it is not imported");
        return;
    }
    const double fs = style.fontSizePx;
    const double x = Len(e, "x", frame.viewport.x, fs), y = Len(e, "y", frame.viewport.y, fs);
    Frame inner = frame;
    inner.ctm = frame.ctm * Affine::Translate(x, y);
    // x and y place the use: a translation only when they move it.
    TransformStep place;
    place.kind = TransformStep::Kind::Matrix;
    const double v[6] = {1, 0, 0, 1, x, y};
    std::copy(v, v + 6, place.v);
    const int pushed = PushStep(LabelOf(e), place, out);
    m_Expanding.insert(&target);
    if (target.name == "symbol" || target.name == "svg") {
        const Style targetStyle = ComputeStyle(style, target, m_Diag);
        if (targetStyle.display) {
            DrawViewport(e, target, targetStyle, inner, out, e.Attribute("width"),
                         e.Attribute("height"));
        }
    } else {
        Draw(target, style, inner, out, false);
    }
    m_Expanding.erase(&target);
    Pop(pushed, out);
}

bool Converter::ShapePath(const Element& e, const Style& style, const Frame& frame, Path* path,
                          std::string* body, int decimals) {
    const double fs = style.fontSizePx;
    const double vw = frame.viewport.x, vh = frame.viewport.y;
    const double diag = std::sqrt((vw * vw + vh * vh) / 2);
    // The player draws nothing beyond 1e7; such numbers are refused before they are written.
    auto inRange = [&]() {
        const Box hull = HullOf(*path);
        if (std::fabs(hull.left) <= kMaxCoordinate && std::fabs(hull.right) <= kMaxCoordinate &&
            std::fabs(hull.top) <= kMaxCoordinate && std::fabs(hull.bottom) <= kMaxCoordinate) {
            return true;
        }
        m_Diag->Warn(e.line, "huge", LabelOf(e),
                     "\"" + LabelOf(e) + "\" has coordinates beyond 1e7; it is not imported");
        return false;
    };
    if (e.name == "rect") {
        const double x = Len(e, "x", vw, fs), y = Len(e, "y", vh, fs);
        const double w = Len(e, "width", vw, fs), h = Len(e, "height", vh, fs);
        if (!(w > 0) || !(h > 0))
            return false;
        double rx = Len(e, "rx", vw, fs, -1), ry = Len(e, "ry", vh, fs, -1);
        if (rx < 0 && ry >= 0)
            rx = ry;
        if (ry < 0 && rx >= 0)
            ry = rx;
        rx = std::min(std::max(rx, 0.0), w / 2);
        ry = std::min(std::max(ry, 0.0), h / 2);
        *path = RectanglePath(x, y, w, h, rx, ry);
        if (!inRange())
            return false;
        if (rx == 0 || ry == 0) {
            *body = "Rectangle{ x " + Num(x, decimals) + " y " + Num(y, decimals) + " w " +
                    Num(w, decimals) + " h " + Num(h, decimals) + " hitTest 0 }";
            return true;
        }
    } else if (e.name == "circle" || e.name == "ellipse") {
        const double cx = Len(e, "cx", vw, fs), cy = Len(e, "cy", vh, fs);
        double rx, ry;
        if (e.name == "circle") {
            rx = ry = Len(e, "r", diag, fs);
        } else {
            rx = Len(e, "rx", vw, fs, -1);
            ry = Len(e, "ry", vh, fs, -1);
            if (rx < 0)
                rx = ry;
            if (ry < 0)
                ry = rx;
        }
        if (!(rx > 0) || !(ry > 0))
            return false;
        *path = EllipsePath(cx, cy, rx, ry);
        if (!inRange())
            return false;
        *body = "Ellipse{ center " + Point2({cx, cy}, decimals) + " radiusX " + Num(rx, decimals) +
                " radiusY " + Num(ry, decimals) + " hitTest 0 }";
        return true;
    } else if (e.name == "line") {
        Figure f;
        f.start = {Len(e, "x1", vw, fs), Len(e, "y1", vh, fs)};
        f.segments.push_back(
            {Segment::Kind::Line, {}, {}, {Len(e, "x2", vw, fs), Len(e, "y2", vh, fs)}});
        path->figures = {f};
    } else if (e.name == "polyline" || e.name == "polygon") {
        std::vector<Point> points;
        const std::string* text = e.Attribute("points");
        if (!text)
            return false;
        if (!ParsePoints(*text, &points)) {
            m_Diag->Warn(e.line, "bad-points", LabelOf(e),
                         "the points of \"" + LabelOf(e) + "\" have an error; drawn up to it");
        }
        if (points.empty())
            return false;
        Figure f;
        f.start = points[0];
        f.closed = e.name == "polygon";
        for (size_t i = 1; i < points.size(); ++i) {
            f.segments.push_back({Segment::Kind::Line, {}, {}, points[i]});
        }
        path->figures = {f};
    } else {
        const std::string* d = e.Attribute("d");
        if (!d)
            return false;
        if (!ParsePathData(*d, path)) {
            m_Diag->Warn(e.line, "bad-path", LabelOf(e),
                         "the path data of \"" + LabelOf(e) + "\" has an error; drawn up to it");
        }
        if (path->Empty())
            return false;
    }
    if (!inRange())
        return false;
    *body = SceneWriter::PathBody(*path, decimals);
    return true;
}

bool Converter::AddClip(const Element& e, const Style& style, const Path* shape, Frame* frame) {
    const std::string label = LabelOf(e);
    auto fail = [&](const std::string& why) {
        m_Diag->Warn(e.line, "clip-path", label,
                     "clip-path on \"" + label + "\" is not imported (" + why + ")");
        return false;
    };
    if (style.clipPath[0] == '\x01')
        return fail("it is not in this file");
    auto found = m_Ids.find(style.clipPath);
    if (found == m_Ids.end() || found->second->name != "clipPath") {
        return fail("there is no <clipPath> \"" + style.clipPath + "\"");
    }
    const Element& clip = *found->second;
    // The clip's own space: the element's user space, or its box.
    Affine space;
    if (const std::string* units = clip.Attribute("clipPathUnits")) {
        if (*units == "objectBoundingBox") {
            if (!shape)
                return fail("a box clip on a group");
            const Box box = BoundsOf(*shape);
            if (!(box.Width() > 0 && box.Height() > 0))
                return fail("the shape has no area");
            space =
                Affine::Translate(box.left, box.top) * Affine::Scaling(box.Width(), box.Height());
        }
    }
    std::vector<TransformStep> steps;
    if (const std::string* t = clip.Attribute("transform")) {
        ParseTransformList(*t, &steps);
        for (const auto& step : steps) space = space * step.ToAffine();
    }
    const Style clipStyle = StyleOf(clip);
    if (!clipStyle.clipPath.empty())
        return fail("the clip path is clipped itself");
    const Affine toDevice = frame->ctm * space;
    const double tolerance = kTolerancePixels;  // in document pixels
    Path region;
    Frame inside = *frame;
    inside.ctm = toDevice;
    for (const auto& child : clip.children) {
        if (child->name == "#text" || IsSilent(child->name))
            continue;
        if (!IsShape(child->name))
            return fail("it holds <" + child->name + ">");
        const Style childStyle = ComputeStyle(clipStyle, *child, m_Diag);
        if (!childStyle.display || !childStyle.visible)
            continue;
        Affine childSpace = toDevice;
        if (const std::string* t = child->Attribute("transform")) {
            ParseTransformList(*t, &steps);
            for (const auto& step : steps) childSpace = childSpace * step.ToAffine();
        }
        Path childPath;
        std::string unused;
        if (!ShapePath(*child, childStyle, inside, &childPath, &unused, 3))
            continue;
        const bool evenOdd =
            child->declared.count("clip-rule") && child->declared.at("clip-rule") == "evenodd";
        const Path device = Normalized(Transformed(childPath, childSpace), evenOdd, tolerance);
        region.figures.insert(region.figures.end(), device.figures.begin(), device.figures.end());
    }
    frame->clips.push_back(std::move(region));
    return true;
}

Path Converter::Clipped(const Path& region, bool evenOdd, const Frame& frame, double tolerance) {
    Affine toLocal;
    if (!frame.ctm.Invert(&toLocal))
        return {};
    Path result = region;
    bool rule = evenOdd;
    for (const auto& clip : frame.clips) {
        result = Intersect(result, rule, Transformed(clip, toLocal), false, tolerance);
        rule = false;
    }
    return result;
}

void Converter::DrawShape(const Element& e, const Style& style, const Frame& frame, Commands* out) {
    const int decimals = DecimalsFor(frame.ctm.Scale());
    Path path;
    std::string body;
    if (!ShapePath(e, style, frame, &path, &body, decimals)) {
        return;
    }
    Frame clipped = frame;
    if (!style.clipPath.empty()) {
        AddClip(e, style, &path, &clipped);
    }
    PaintShape(e, style, clipped, path, body, out);
}

void Converter::PaintShape(const Element& e, const Style& style, const Frame& frame,
                           const Path& path, const std::string& geometryBody, Commands* out) {
    if (!style.visible) {
        return;
    }
    const double scale = frame.ctm.Scale();
    const int decimals = DecimalsFor(scale);
    const double tolerance = kTolerancePixels / scale;
    const Box bbox = BoundsOf(path);
    const double opacity = frame.opacity * style.opacity;
    const std::string label = LabelOf(e);
    auto geometry = [&](const std::string& variant, const std::string& body) {
        auto key = std::make_pair(&e, variant);
        auto found = m_GeometryNames.find(key);
        if (found != m_GeometryNames.end())
            return found->second;
        const std::string name =
            m_Writer.AddGeometry(variant.empty() ? label : label + "." + variant, body);
        m_GeometryNames[key] = name;
        return name;
    };
    // Draws region (in the element's space) with brush, turned into the brush's frame.
    auto fill = [&](const std::string& variant, const Path* region, const std::string& body,
                    const BrushSpec& brush, Commands* cmds) {
        const std::string brushName = m_Writer.AddBrush(brush.base, brush.body);
        if (!brush.turned) {
            cmds->push_back("Fill{ " + geometry(variant, body) + " " + brushName + " }");
            return;
        }
        const Path turned = Transformed(*region, Affine::Rotate(-brush.frameDegrees));
        TransformStep frameStep;
        frameStep.kind = TransformStep::Kind::Rotate;
        frameStep.v[0] = brush.frameDegrees;
        const int n = PushStep(label + ".frame", frameStep, cmds);
        cmds->push_back("Fill{ " +
                        geometry(variant + "turned", SceneWriter::PathBody(turned, decimals)) +
                        " " + brushName + " }");
        Pop(n, cmds);
    };

    Commands fillCommands, strokeCommands;
    // A figure without area (a line) fills nothing; no command for it.
    const bool hasArea = bbox.Width() > 0 && bbox.Height() > 0;
    if (style.fill.kind != Paint::Kind::None && hasArea) {
        const BrushSpec brush = m_Paint->Make(style.fill, style, style.fillOpacity * opacity, bbox,
                                              frame.viewport, e, label, "fill", decimals);
        const bool clipped = !frame.clips.empty();
        if (!brush.none && clipped) {
            const Path region = Clipped(path, style.evenOdd, frame, tolerance);
            if (!region.Empty()) {
                fill("clipped", &region, SceneWriter::PathBody(region, decimals), brush,
                     &fillCommands);
            }
        } else if (!brush.none) {
            if (style.evenOdd) {
                const Path region = EvenOddToWinding(path, tolerance);
                const bool same = region.figures.size() == path.figures.size() &&
                                  SceneWriter::PathBody(region, decimals) ==
                                      SceneWriter::PathBody(path, decimals);
                if (same) {
                    fill("", &path, geometryBody, brush, &fillCommands);
                } else {
                    fill("evenodd", &region, SceneWriter::PathBody(region, decimals), brush,
                         &fillCommands);
                }
            } else {
                fill("", &path, geometryBody, brush, &fillCommands);
            }
        }
    }
    double strokeWidth = 0;
    if (style.stroke.kind != Paint::Kind::None) {
        const double diag = std::sqrt(
            (frame.viewport.x * frame.viewport.x + frame.viewport.y * frame.viewport.y) / 2);
        strokeWidth = style.strokeWidth.Resolve(style.fontSizePx, diag);
        if (!(strokeWidth <= kMaxCoordinate)) {
            m_Diag->Warn(e.line, "huge-stroke", label,
                         "the stroke width of \"" + label + "\" is beyond 1e7; it is not imported");
            strokeWidth = 0;
        }
        const BrushSpec brush =
            strokeWidth > 0 ? m_Paint->Make(style.stroke, style, style.strokeOpacity * opacity,
                                            bbox, frame.viewport, e, label, "stroke", decimals)
                            : BrushSpec{};
        if (!brush.none) {
            // Dashes become figures of their own: the stroke's caps then end each dash.
            Path dashed;
            const Path* stroked = &path;
            std::string strokedBody = geometryBody;
            std::string variant;
            if (!style.dashes.empty()) {
                std::vector<double> pattern;
                for (const auto& l : style.dashes) {
                    pattern.push_back(l.Resolve(style.fontSizePx, diag));
                }
                dashed = Dash(path, pattern, style.dashOffset.Resolve(style.fontSizePx, diag),
                              tolerance);
                stroked = &dashed;
                strokedBody = SceneWriter::PathBody(dashed, decimals);
                variant = "dashes";
            }
            const bool plain = style.cap == Style::Cap::Butt && style.join == Style::Join::Miter &&
                               !MiterLimitMatters(*stroked, style.miterLimit, 10);
            if (plain && !brush.turned && frame.clips.empty()) {
                strokeCommands.push_back("Stroke{ " + geometry(variant, strokedBody) + " " +
                                         m_Writer.AddBrush(brush.base, brush.body) + " " +
                                         Num(strokeWidth, decimals) + " }");
            } else {
                Path outline =
                    StrokeOutline(*stroked, strokeWidth, static_cast<LineCap>(style.cap),
                                  static_cast<LineJoin>(style.join), style.miterLimit, tolerance);
                if (!frame.clips.empty()) {
                    outline = Clipped(outline, false, frame, tolerance);
                }
                if (!outline.Empty()) {
                    fill(frame.clips.empty() ? "outline" : "outline.clipped", &outline,
                         SceneWriter::PathBody(outline, decimals), brush, &strokeCommands);
                }
            }
        } else {
            strokeWidth = 0;
        }
    }
    if (!fillCommands.empty() && !strokeCommands.empty() && opacity < 1) {
        m_Diag->Warn(e.line, "shape-opacity", label,
                     "opacity on \"" + label +
                         "\" is applied to its fill and its stroke apart; where they overlap it "
                         "differs");
    }
    Commands& first = style.strokeFirst ? strokeCommands : fillCommands;
    Commands& second = style.strokeFirst ? fillCommands : strokeCommands;
    out->insert(out->end(), first.begin(), first.end());
    out->insert(out->end(), second.begin(), second.end());
    if (!fillCommands.empty() || !strokeCommands.empty()) {
        Box device;
        const double grow = strokeWidth / 2;
        for (double x : {bbox.left - grow, bbox.right + grow}) {
            for (double y : {bbox.top - grow, bbox.bottom + grow}) {
                device.Add(frame.ctm.Apply({x, y}));
            }
        }
        NoteDrawn(device);
    }
}

void Converter::DrawText(const Element& e, const Style& style, const Frame& frame, Commands* out) {
    if (!frame.clips.empty() || !style.clipPath.empty()) {
        m_Diag->Warn(e.line, "clip-path", LabelOf(e),
                     "clip-path on \"" + LabelOf(e) + "\" is not imported (text is drawn whole)");
    }
    struct Chunk {
        double x = 0, y = 0;
        std::string text;
        Style style;
        const Element* owner = nullptr;
    };
    std::vector<Chunk> chunks;
    const bool preserve = [&] {
        const std::string* space = e.Attribute("xml:space");
        return space && *space == "preserve";
    }();
    bool lastWasSpace = true;
    const double fs = style.fontSizePx;
    auto coordinate = [&](const Element& el, const char* key, double reference, double* value) {
        const std::string* text = el.Attribute(key);
        if (!text)
            return false;
        if (HasSeveral(text)) {
            m_Diag->Warn(el.line, "glyph-positions", LabelOf(e),
                         "positions for single glyphs on \"" + LabelOf(e) +
                             "\" are not imported; the first one places the text");
        }
        Import::Length l;
        if (!ParseLength(FirstNumberList(text), &l))
            return false;
        *value = l.Resolve(fs, reference);
        return true;
    };
    Chunk first;
    first.style = style;
    first.owner = &e;
    coordinate(e, "x", frame.viewport.x, &first.x);
    coordinate(e, "y", frame.viewport.y, &first.y);
    chunks.push_back(first);
    std::function<void(const Element&, const Style&)> walk = [&](const Element& el,
                                                                 const Style& st) {
        for (const auto& child : el.children) {
            if (child->name == "#text") {
                chunks.back().text += CollapseSpaces(child->text, preserve, &lastWasSpace);
                continue;
            }
            if (child->name != "tspan") {
                if (child->name != "title" && child->name != "desc") {
                    m_Diag->NotImported(child->line, "<" + child->name + ">", LabelOf(e));
                }
                continue;
            }
            const Style childStyle = ComputeStyle(st, *child, m_Diag);
            if (!childStyle.display)
                continue;
            for (const char* key : {"dx", "dy", "rotate"}) {
                if (child->Attribute(key)) {
                    m_Diag->NotImported(child->line, key, LabelOf(e));
                }
            }
            Chunk next;
            next.x = chunks.back().x;
            next.y = chunks.back().y;
            const bool hasX = coordinate(*child, "x", frame.viewport.x, &next.x);
            const bool hasY = coordinate(*child, "y", frame.viewport.y, &next.y);
            if (hasX || hasY) {
                next.style = childStyle;
                next.owner = child.get();
                lastWasSpace = true;
                chunks.push_back(next);
            }
            walk(*child, childStyle);
        }
    };
    for (const char* key : {"dx", "dy", "rotate", "textLength"}) {
        if (e.Attribute(key))
            m_Diag->NotImported(e.line, key, LabelOf(e));
    }
    walk(e, style);

    bool warned = false;
    for (auto& chunk : chunks) {
        std::string text = chunk.text;
        while (!preserve && !text.empty() && text.back() == ' ') text.pop_back();
        while (!preserve && !text.empty() && text.front() == ' ') text.erase(0, 1);
        if (text.empty() || !chunk.style.visible)
            continue;
        if (!warned) {
            m_Diag->Warn(e.line, "text", LabelOf(e),
                         "<text> on \"" + LabelOf(e) +
                             "\" is laid out by the player; its spacing may differ");
            warned = true;
        }
        const Style& st = chunk.style;
        if (st.fontWeight != 400)
            m_Diag->NotImported(e.line, "font-weight", LabelOf(e));
        if (st.italic)
            m_Diag->NotImported(e.line, "font-style", LabelOf(e));
        if (st.textEffects)
            m_Diag->NotImported(e.line, "text spacing and decoration", LabelOf(e));
        std::string token;
        for (char c : text) {
            if (c == ' ')
                token += "\xC2\xA0";  // a no-break space draws as a space
            else
                token += c;
        }
        if (token.size() > kMaxTextBytes) {
            m_Diag->Warn(e.line, "text-long", LabelOf(e),
                         "<text> on \"" + LabelOf(e) + "\" is cut to 4096 bytes");
            token.resize(kMaxTextBytes);
            while (!token.empty() && (static_cast<unsigned char>(token.back()) & 0xC0) == 0x80) {
                token.pop_back();
            }
            if (!token.empty() && static_cast<unsigned char>(token.back()) >= 0xC0)
                token.pop_back();
        }
        std::string family;
        for (char c : st.fontFamily) {
            if (!std::isspace(static_cast<unsigned char>(c)))
                family += c;
        }
        if (family.empty())
            family = "sans-serif";
        const double size = st.fontSizePx;
        TextPlacement wide, placed;
        if (!(size > 0 && size <= 4096) ||
            !MeasureText(token, family, size, 1e6, 4 * size, &wide)) {
            m_Diag->Warn(e.line, "text-layout", LabelOf(e),
                         "<text> on \"" + LabelOf(e) + "\" cannot be laid out; it is not imported");
            continue;
        }
        const double boxW = std::ceil(wide.advance + 2 * size), boxH = std::ceil(4 * size);
        MeasureText(token, family, size, boxW, boxH, &placed);
        const double anchorShift = st.anchor == Style::Anchor::Middle ? placed.advance / 2
                                   : st.anchor == Style::Anchor::End  ? placed.advance
                                                                      : 0;
        const double x0 = chunk.x - anchorShift - placed.left;
        const double y0 = chunk.y - placed.baseline;
        if (!(std::fabs(x0) <= kMaxCoordinate && std::fabs(y0) <= kMaxCoordinate)) {
            m_Diag->Warn(e.line, "huge", LabelOf(e),
                         "\"" + LabelOf(e) + "\" has coordinates beyond 1e7; it is not imported");
            continue;
        }
        const int decimals = DecimalsFor(frame.ctm.Scale());
        const std::string body = "Text{ text " + token + " font " + family + " size " +
                                 Num(size, decimals) + " x " + Num(x0, decimals) + " y " +
                                 Num(y0, decimals) + " w " + Num(boxW, decimals) + " h " +
                                 Num(boxH, decimals) + " hitTest 0 }";
        // The box of the glyphs stands in for the outline: gradients and strokes need it.
        Path box =
            RectanglePath(x0 + placed.left, chunk.y - size * 0.8, placed.advance, size, 0, 0);
        PaintShape(*chunk.owner, st, frame, box, body, out);
    }
    (void)out;
}

void Converter::DrawImage(const Element& e, const Style& style, const Frame& frame, Commands* out) {
    if (!style.visible)
        return;
    if (!frame.clips.empty() || !style.clipPath.empty()) {
        m_Diag->Warn(
            e.line, "clip-path", LabelOf(e),
            "clip-path on \"" + LabelOf(e) + "\" is not imported (an image is drawn whole)");
    }
    const double fs = style.fontSizePx;
    const std::string* href = e.Attribute("href");
    if (!href)
        return;
    std::string path;
    int iw = 0, ih = 0;
    if (!m_Images.Resolve(*href, e, LabelOf(e), &path, &iw, &ih))
        return;
    if (path.find_first_of(" \t\r\n\v\f") != std::string::npos) {
        m_Diag->Warn(e.line, "image-path", LabelOf(e),
                     "the image of \"" + LabelOf(e) +
                         "\" lies at a path with white space, "
                         "which a document cannot name; it is not imported");
        return;
    }
    const double x = Len(e, "x", frame.viewport.x, fs), y = Len(e, "y", frame.viewport.y, fs);
    const double w = Len(e, "width", frame.viewport.x, fs, iw);
    const double h = Len(e, "height", frame.viewport.y, fs, ih);
    if (!(w > 0) || !(h > 0))
        return;
    if (!(std::fabs(x) + w <= kMaxCoordinate && std::fabs(y) + h <= kMaxCoordinate)) {
        m_Diag->Warn(e.line, "huge", LabelOf(e),
                     "\"" + LabelOf(e) + "\" has coordinates beyond 1e7; it is not imported");
        return;
    }
    AspectRatio ratio;
    if (const std::string* par = e.Attribute("preserveAspectRatio"))
        ParseAspectRatio(*par, &ratio);
    const double vb[4] = {0, 0, static_cast<double>(iw), static_cast<double>(ih)};
    const Affine map = ViewBoxMap(vb, ratio, x, y, w, h);
    Point d0 = map.Apply({0, 0}), d1 = map.Apply({vb[2], vb[3]});
    Point s0{0, 0}, s1{vb[2], vb[3]};
    if (ratio.slice && ratio.x != AspectRatio::Align::None) {
        // The part of the image inside the viewport: a smaller source rectangle.
        Affine inverse;
        map.Invert(&inverse);
        s0 = inverse.Apply({x, y});
        s1 = inverse.Apply({x + w, y + h});
        d0 = {x, y};
        d1 = {x + w, y + h};
    }
    const int decimals = DecimalsFor(frame.ctm.Scale());
    auto rect = [](Point a, Point b, int dec) {
        return "Rect{ " + Num(a.x, dec) + " " + Num(a.y, dec) + " " + Num(b.x, dec) + " " +
               Num(b.y, dec) + " }";
    };
    const std::string bitmap = m_Writer.AddBitmap(LabelOf(e), path);
    out->push_back("DrawImage{ source " + bitmap + " destRect " + rect(d0, d1, decimals) +
                   " opacity " + Num(frame.opacity * style.opacity, 3) + " srcRect " +
                   rect(s0, s1, 3) + " }");
    Box device;
    device.Add(frame.ctm.Apply(d0));
    device.Add(frame.ctm.Apply(d1));
    NoteDrawn(device);
}

}  // namespace Import
