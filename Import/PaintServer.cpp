#include "Import/PaintServer.h"

#include <algorithm>
#include <cmath>
#include <set>

#include "Import/SceneWriter.h"
#include "Import/SvgSyntax.h"

namespace Import {

namespace {

constexpr double kPi = 3.14159265358979323846;

// The attributes of a gradient after its href chain: a referenced gradient supplies what
// the referencing one leaves out, and its stops when it has none.
struct ResolvedGradient {
    bool radial = false;
    std::map<std::string, std::string> attributes;
    const Element* stops = nullptr;
};

bool HasStops(const Element& e) {
    for (const auto& child : e.children) {
        if (child->name == "stop")
            return true;
    }
    return false;
}

}  // namespace

std::string ColorBlock(const Rgba& c) {
    return "Color{ " + Num(c.r, 3) + " " + Num(c.g, 3) + " " + Num(c.b, 3) + " " + Num(c.a, 3) +
           " }";
}

Decomposition Decompose(const Affine& m) {
    // m = R(phi) diag(sx, sy) R(theta), from the polar parts of the 2x2 matrix.
    const double e = (m.a + m.d) / 2, f = (m.a - m.d) / 2;
    const double g = (m.b + m.c) / 2, h = (m.b - m.c) / 2;
    const double q = std::hypot(e, h), r = std::hypot(f, g);
    const double a1 = std::atan2(g, f), a2 = std::atan2(h, e);
    Decomposition d;
    d.sx = q + r;
    d.sy = q - r;
    d.theta = (a2 - a1) / 2 * 180 / kPi;
    d.phi = (a2 + a1) / 2 * 180 / kPi;
    return d;
}

BrushPlan PaintServer::Solid(const Rgba& color, double opacity, const std::string& base) const {
    BrushPlan plan;
    plan.none = false;
    plan.base = base;
    plan.body = "SolidColorBrush{ " + ColorBlock(color) + " opacity " + Num(opacity, 3) + " }";
    return plan;
}

BrushPlan PaintServer::Fallback(const Paint& paint, const Style& style, double opacity,
                                const std::string& base) const {
    if (paint.hasFallback && paint.fallback != Paint::Kind::None) {
        Paint p;
        p.kind = paint.fallback;
        p.color = paint.fallbackColor;
        return Solid(ResolveColor(p, style), opacity, base);
    }
    return {};
}

BrushPlan PaintServer::Make(const Paint& paint, const Style& style, double opacity, const Box& bbox,
                            const Point& viewport, const Element& user, const std::string& label,
                            const std::string& role, int decimals) const {
    const std::string base = label + "." + role;
    switch (paint.kind) {
        case Paint::Kind::None:
            return {};
        case Paint::Kind::Color:
        case Paint::Kind::CurrentColor:
            return Solid(ResolveColor(paint, style), opacity, base);
        case Paint::Kind::Url:
            break;
    }
    auto found = m_Ids.find(paint.url);
    if (found == m_Ids.end()) {
        m_Diag->Warn(user.line, "missing-paint", label + role,
                     "the paint \"" + paint.url + "\" of \"" + label +
                         "\" does not exist; its fallback is used");
        return Fallback(paint, style, opacity, base);
    }
    const Element& server = *found->second;
    if (server.name == "linearGradient" || server.name == "radialGradient") {
        return Gradient(server, opacity, bbox, viewport, user, label, role, decimals);
    }
    m_Diag->NotImported(user.line, "<" + server.name + ">", label);
    return Fallback(paint, style, opacity, base);
}

BrushPlan PaintServer::Gradient(const Element& gradient, double opacity, const Box& bbox,
                                const Point& viewport, const Element& user,
                                const std::string& label, const std::string& role,
                                int decimals) const {
    ResolvedGradient g;
    g.radial = gradient.name == "radialGradient";
    std::set<const Element*> seen;
    static const std::set<std::string> kCommon = {"gradientUnits", "gradientTransform",
                                                  "spreadMethod"};
    for (const Element* e = &gradient; e && seen.insert(e).second && seen.size() <= 256;) {
        const bool sameKind = (e->name == "radialGradient") == g.radial &&
                              (e->name == "radialGradient" || e->name == "linearGradient");
        for (const auto& [key, value] : e->attributes) {
            if ((sameKind || kCommon.count(key)) && !g.attributes.count(key)) {
                g.attributes[key] = value;
            }
        }
        if (!g.stops && HasStops(*e))
            g.stops = e;
        const std::string* href = e->Attribute("href");
        if (!href || href->empty() || (*href)[0] != '#')
            break;
        auto next = m_Ids.find(href->substr(1));
        e = next == m_Ids.end() ? nullptr : next->second;
        if (e && e->name != "linearGradient" && e->name != "radialGradient")
            break;
    }
    const std::string gradientName = gradient.Id();

    // Stops: offsets clamped to 0..1 and never decreasing.
    std::vector<std::pair<double, Rgba>> stops;
    if (g.stops) {
        double last = 0;
        for (const auto& child : g.stops->children) {
            if (child->name != "stop")
                continue;
            double offset = 0;
            if (const std::string* o = child->Attribute("offset")) {
                if (!ParseNumber(*o, &offset, true))
                    offset = 0;
            }
            offset = std::max(last, std::min(1.0, std::max(0.0, offset)));
            last = offset;
            const Style s = m_StyleOf(*child);
            Rgba c = s.stopColor;
            c.a *= s.stopOpacity;
            stops.push_back({offset, c});
        }
    }
    if (stops.empty()) {
        return {};
    }
    if (stops.size() == 1) {
        return Solid(stops[0].second, opacity, label + "." + role);
    }

    const bool boxUnits = g.attributes["gradientUnits"] != "userSpaceOnUse";
    Affine m;
    if (boxUnits) {
        if (bbox.Empty() || bbox.Width() <= 0 || bbox.Height() <= 0) {
            return {};  // a box gradient on a shape without area paints nothing
        }
        m = Affine::Translate(bbox.left, bbox.top) * Affine::Scaling(bbox.Width(), bbox.Height());
    }
    std::vector<TransformStep> steps;
    if (g.attributes.count("gradientTransform") &&
        ParseTransformList(g.attributes["gradientTransform"], &steps)) {
        for (const auto& step : steps) m = m * step.ToAffine();
    }
    const double diagonal = std::sqrt((viewport.x * viewport.x + viewport.y * viewport.y) / 2);
    auto value = [&](const char* key, const char* initial, double reference) {
        Length l;
        auto it = g.attributes.find(key);
        const std::string text = it == g.attributes.end() ? initial : it->second;
        if (!ParseLength(text, &l))
            ParseLength(initial, &l);
        if (boxUnits) {
            return l.unit == Length::Unit::Percent ? l.value / 100 : l.value;
        }
        return l.Resolve(16, reference);
    };

    const std::string spread = g.attributes["spreadMethod"];
    const int extend = spread == "reflect" ? 2 : spread == "repeat" ? 1 : 0;
    std::string stopsBlock =
        "GradientStopCollection{ noOfGradientStops " + std::to_string(stops.size());
    for (const auto& [offset, color] : stops) {
        stopsBlock += " GradientStop{ " + Num(offset, 4) + " " + ColorBlock(color) + " }";
    }
    stopsBlock += " extendMode " + std::to_string(extend) + " }";
    auto point = [decimals](Point p) {
        return "Point{ " + Num(p.x, decimals) + " " + Num(p.y, decimals) + " }";
    };
    const Affine linear{m.a, m.b, m.c, m.d, 0, 0};
    const double det = linear.Determinant();
    if (!(std::fabs(det) > 1e-12) || !m.IsFinite()) {
        return {};
    }

    BrushPlan plan;
    plan.none = false;
    plan.base = gradientName.empty() ? label + "." + role : gradientName;
    if (!g.radial) {
        const Point p1{value("x1", "0%", viewport.x), value("y1", "0%", viewport.y)};
        const Point p2{value("x2", "100%", viewport.x), value("y2", "0%", viewport.y)};
        const Point d{p2.x - p1.x, p2.y - p1.y};
        const double len2 = d.x * d.x + d.y * d.y;
        if (len2 == 0) {
            return Solid(stops.back().second, opacity, label + "." + role);
        }
        // Value at x is (x - start) . w: w is d mapped by the inverse transpose.
        const Point w{(m.d * d.x - m.b * d.y) / det / len2, (-m.c * d.x + m.a * d.y) / det / len2};
        const double w2 = w.x * w.x + w.y * w.y;
        const Point start = m.Apply(p1);
        const Point end{start.x + w.x / w2, start.y + w.y / w2};
        plan.body = "LinearGradientBrush{ start " + point(start) + " end " + point(end) + " " +
                    stopsBlock + " opacity " + Num(opacity, 3) + " }";
        return plan;
    }
    const double r = value("r", "50%", diagonal);
    const Point c{value("cx", "50%", viewport.x), value("cy", "50%", viewport.y)};
    Point f{g.attributes.count("fx") ? value("fx", "50%", viewport.x) : c.x,
            g.attributes.count("fy") ? value("fy", "50%", viewport.y) : c.y};
    if (r <= 0) {
        return Solid(stops.back().second, opacity, label + "." + role);
    }
    // A focus outside the circle is moved onto its rim, just inside.
    const double fd = std::hypot(f.x - c.x, f.y - c.y);
    if (fd > r * 0.999) {
        f = {c.x + (f.x - c.x) * r * 0.999 / fd, c.y + (f.y - c.y) * r * 0.999 / fd};
    }
    if (g.attributes.count("fr") && value("fr", "0%", diagonal) > 0) {
        m_Diag->Warn(gradient.line, "fr", gradientName,
                     "fr on \"" + gradient.Label() + "\" is not imported");
    }
    const Decomposition dec = Decompose(m);
    const Point center = m.Apply(c);
    const Point focusOffset = linear.Apply({f.x - c.x, f.y - c.y});
    double rx = std::fabs(dec.sx) * r, ry = std::fabs(dec.sy) * r;
    Point offset = focusOffset;
    Point centerInFrame = center;
    const double phiRad = dec.phi * kPi / 180;
    const double sinPhi = std::sin(phiRad), cosPhi = std::cos(phiRad);
    if (std::fabs(sinPhi) < 1e-6 || std::fabs(cosPhi) < 1e-6) {
        if (std::fabs(cosPhi) < 1e-6)
            std::swap(rx, ry);
    } else {
        // Express everything in a frame turned by phi, in which the ellipse is upright.
        plan.turned = true;
        plan.frameDegrees = dec.phi;
        const Affine back = Affine::Rotate(-dec.phi);
        offset = back.Apply(focusOffset);
        centerInFrame = back.Apply(center);
        plan.base += ".turned";
    }
    plan.body = "RadialGradientBrush{ center " + point(centerInFrame) + " originOffset " +
                point(offset) + " radiusX " + Num(rx, decimals) + " radiusY " + Num(ry, decimals) +
                " " + stopsBlock + " opacity " + Num(opacity, 3) + " }";
    return plan;
}

}  // namespace Import
