// The converter's shapes: their outlines, clips, fills and strokes.
#include <cmath>

#include "Import/Converter.h"
#include "Import/ConverterRules.h"
#include "Import/Outline.h"

namespace Import {

using namespace rules;

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
                    const BrushPlan& brush, Commands* cmds) {
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
    BrushPlan fillBrush;
    Path strokeOutline;  // when the stroke was drawn as one
    // A figure without area (a line) fills nothing; no command for it.
    const bool hasArea = bbox.Width() > 0 && bbox.Height() > 0;
    if (style.fill.kind != Paint::Kind::None && hasArea) {
        const BrushPlan brush = m_Paint->Make(style.fill, style, style.fillOpacity * opacity, bbox,
                                              frame.viewport, e, label, "fill", decimals);
        fillBrush = brush;
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
        const BrushPlan brush =
            strokeWidth > 0 ? m_Paint->Make(style.stroke, style, style.strokeOpacity * opacity,
                                            bbox, frame.viewport, e, label, "stroke", decimals)
                            : BrushPlan{};
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
                strokeOutline = outline;
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
    // Shape opacity fades the shape as one: where an opaque stroke lies over the fill, the
    // fill must not show through it. Cutting the stroke's region out of the fill does that.
    const bool opaqueStroke = (style.stroke.kind == Paint::Kind::Color ||
                               style.stroke.kind == Paint::Kind::CurrentColor) &&
                              ResolveColor(style.stroke, style).a == 1 && style.strokeOpacity == 1;
    const bool outlineKnown = style.dashes.empty() || !strokeOutline.Empty();
    if (!fillCommands.empty() && !strokeCommands.empty() && opacity < 1 && opaqueStroke &&
        !style.strokeFirst && outlineKnown) {
        if (strokeOutline.Empty()) {
            strokeOutline =
                StrokeOutline(path, strokeWidth, static_cast<LineCap>(style.cap),
                              static_cast<LineJoin>(style.join), style.miterLimit, tolerance);
        }
        Path region = frame.clips.empty() ? path : Clipped(path, style.evenOdd, frame, tolerance);
        region = Subtract(region, style.evenOdd && frame.clips.empty(), strokeOutline, tolerance);
        fillCommands.clear();
        if (!region.Empty()) {
            fill("cut", &region, SceneWriter::PathBody(region, decimals), fillBrush, &fillCommands);
        }
    } else if (!fillCommands.empty() && !strokeCommands.empty() && opacity < 1) {
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

}  // namespace Import
