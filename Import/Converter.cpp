#include "Import/Converter.h"

#include <algorithm>
#include <cmath>

#include "Import/ConverterRules.h"
#include "Import/StyleSheet.h"
#include "Import/SvgFile.h"

namespace Import {

using namespace rules;

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

}  // namespace Import
