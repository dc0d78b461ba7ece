#include "Import/Style.h"

#include <cctype>
#include <set>
#include <sstream>

namespace Import {

namespace {

std::string Lower(std::string s) {
    for (auto& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

// Properties that change nothing the importer draws, or only what the player decides
// anyway (rendering hints, flowed-text layout, editor state).
bool IsIgnorable(const std::string& name) {
    static const std::set<std::string> kNames = {"overflow",
                                                 "clip",
                                                 "enable-background",
                                                 "color-interpolation",
                                                 "color-interpolation-filters",
                                                 "color-rendering",
                                                 "image-rendering",
                                                 "shape-rendering",
                                                 "text-rendering",
                                                 "pointer-events",
                                                 "cursor",
                                                 "isolation",
                                                 "solid-color",
                                                 "solid-opacity",
                                                 "flood-color",
                                                 "flood-opacity",
                                                 "lighting-color",
                                                 "line-height",
                                                 "text-align",
                                                 "block-progression",
                                                 "text-indent",
                                                 "text-transform",
                                                 "white-space",
                                                 "font-variant",
                                                 "font-variant-ligatures",
                                                 "font-variant-caps",
                                                 "font-variant-numeric",
                                                 "font-variant-position",
                                                 "font-variant-alternates",
                                                 "font-variant-east-asian",
                                                 "font-feature-settings",
                                                 "font-variation-settings",
                                                 "font-kerning",
                                                 "font-stretch",
                                                 "unicode-bidi",
                                                 "stroke-dashoffset",
                                                 "clip-rule",
                                                 "marker",
                                                 "inline-size",
                                                 "shape-inside",
                                                 "shape-padding",
                                                 "shape-margin",
                                                 "text-orientation",
                                                 "text-decoration-line",
                                                 "text-decoration-style",
                                                 "text-decoration-color",
                                                 "dominant-baseline",
                                                 "alignment-baseline",
                                                 "glyph-orientation-vertical",
                                                 "glyph-orientation-horizontal",
                                                 "kerning",
                                                 "mask-type",
                                                 "color-profile",
                                                 "display-align"};
    return kNames.count(name) > 0;
}

std::string FirstFamily(const std::string& list) {
    std::string first = list.substr(0, list.find(','));
    std::string out;
    for (char c : first) {
        if (c != '\'' && c != '"')
            out += c;
    }
    const size_t b = out.find_first_not_of(" \t");
    const size_t e = out.find_last_not_of(" \t");
    return b == std::string::npos ? std::string() : out.substr(b, e - b + 1);
}

class StyleBuilder {
  public:
    StyleBuilder(const Style& parent, const Element& e, Diagnostics* d)
        : m_Parent(parent), m_Element(e), m_Diag(d) {
        m_Style = parent;
        // Properties that are not inherited start over.
        m_Style.opacity = 1;
        m_Style.display = true;
        m_Style.clipPath.clear();
        m_Style.mask.clear();
        m_Style.filter.clear();
        m_Style.markers = false;
        m_Style.stopColor = {0, 0, 0, 1};
        m_Style.stopOpacity = 1;
    }

    Style Build() {
        // font-size first: em lengths of this element depend on it.
        auto size = m_Element.declared.find("font-size");
        if (size != m_Element.declared.end()) {
            Apply(size->first, size->second);
        }
        for (const auto& [name, value] : m_Element.declared) {
            if (name != "font-size") {
                Apply(name, value);
            }
        }
        return m_Style;
    }

  private:
    void Apply(const std::string& name, const std::string& raw) {
        const std::string value = Lower(raw);
        if (value == "inherit") {
            Inherit(name);
            return;
        }
        if (name == "fill" || name == "stroke") {
            Paint paint;
            if (!ParsePaint(raw, &paint)) {
                Bad(name, raw);
                return;
            }
            (name == "fill" ? m_Style.fill : m_Style.stroke) = paint;
        } else if (name == "fill-opacity") {
            Number(raw, &m_Style.fillOpacity, name);
        } else if (name == "stroke-opacity") {
            Number(raw, &m_Style.strokeOpacity, name);
        } else if (name == "opacity") {
            Number(raw, &m_Style.opacity, name);
        } else if (name == "stop-opacity") {
            Number(raw, &m_Style.stopOpacity, name);
        } else if (name == "stroke-width") {
            Length l;
            if (ParseLength(raw, &l) && l.value >= 0) {
                m_Style.strokeWidth = l;
            } else {
                Bad(name, raw);
            }
        } else if (name == "stroke-miterlimit") {
            double v;
            if (!ParseNumber(raw, &v)) {
                Bad(name, raw);
            } else if (v < 1) {
                // No join is shorter than its stroke is wide: below 1 is out of range.
                m_Diag->Warn(m_Element.line, "bad-value:" + name, m_Element.Label(),
                             "stroke-miterlimit " + raw + " on \"" + m_Element.Label() +
                                 "\" is below 1; it is ignored");
            } else {
                m_Style.miterLimit = v;
            }
        } else if (name == "stroke-linecap") {
            m_Style.cap = value == "round"    ? Style::Cap::Round
                          : value == "square" ? Style::Cap::Square
                                              : Style::Cap::Butt;
        } else if (name == "stroke-linejoin") {
            m_Style.join = value == "round"   ? Style::Join::Round
                           : value == "bevel" ? Style::Join::Bevel
                                              : Style::Join::Miter;
            if (value == "arcs" || value == "miter-clip") {
                m_Style.join = Style::Join::Miter;
            }
        } else if (name == "fill-rule") {
            m_Style.evenOdd = value == "evenodd";
        } else if (name == "stroke-dasharray") {
            Dashes(raw);
        } else if (name == "stroke-dashoffset") {
            Length l;
            if (ParseLength(raw, &l)) {
                m_Style.dashOffset = l;
            } else {
                Bad(name, raw);
            }
        } else if (name == "color") {
            Rgba c;
            if (ParseColor(raw, &c)) {
                m_Style.color = c;
            } else {
                Bad(name, raw);
            }
        } else if (name == "stop-color") {
            Paint p;
            if (value == "currentcolor") {
                m_Style.stopColor = m_Style.color;
            } else if (ParsePaint(raw, &p) && p.kind == Paint::Kind::Color) {
                m_Style.stopColor = p.color;
            } else {
                Bad(name, raw);
            }
        } else if (name == "display") {
            m_Style.display = value != "none";
        } else if (name == "visibility") {
            m_Style.visible = value != "hidden" && value != "collapse";
        } else if (name == "font-family") {
            const std::string family = FirstFamily(raw);
            if (!family.empty())
                m_Style.fontFamily = family;
        } else if (name == "font-size") {
            FontSize(raw);
        } else if (name == "font-weight") {
            m_Style.fontWeight = value == "bold" || value == "bolder" ? 700
                                 : value == "normal" || value == "lighter"
                                     ? 400
                                     : std::atoi(value.c_str());
            if (m_Style.fontWeight <= 0)
                m_Style.fontWeight = 400;
        } else if (name == "font-style") {
            m_Style.italic = value == "italic" || value == "oblique";
        } else if (name == "text-anchor") {
            m_Style.anchor = value == "middle" ? Style::Anchor::Middle
                             : value == "end"  ? Style::Anchor::End
                                               : Style::Anchor::Start;
        } else if (name == "clip-path") {
            m_Style.clipPath = FunctionalIri(raw);
        } else if (name == "mask") {
            m_Style.mask = FunctionalIri(raw);
        } else if (name == "filter") {
            m_Style.filter = value == "none" ? std::string() : raw;
        } else if (name == "marker-start" || name == "marker-mid" || name == "marker-end") {
            if (!FunctionalIri(raw).empty())
                m_Style.markers = true;
        } else if (name == "paint-order") {
            const size_t s = value.find("stroke"), f = value.find("fill");
            m_Style.strokeFirst = s != std::string::npos && (f == std::string::npos || s < f);
        } else if (name == "letter-spacing" || name == "word-spacing") {
            if (value != "normal" && value != "0" && value != "0px")
                m_Style.textEffects = true;
        } else if (name == "text-decoration") {
            if (value != "none")
                m_Style.textEffects = true;
        } else if (name == "writing-mode" || name == "direction" || name == "baseline-shift") {
            if (value != "lr-tb" && value != "lr" && value != "horizontal-tb" && value != "ltr" &&
                value != "baseline") {
                m_Style.textEffects = true;
            }
        } else if (name == "mix-blend-mode") {
            if (value != "normal")
                NotImported(name, raw);
        } else if (name == "vector-effect") {
            if (value != "none")
                NotImported(name, raw);
        } else if (name == "font") {
            NotImported(name, raw);
        } else if (!IsIgnorable(name) && !name.empty() && name[0] != '-') {
            m_Diag->Warn(m_Element.line, "css-property", name,
                         "CSS property \"" + name + "\" is not imported");
        }
    }

    // A list of lengths; none, an empty list or all zeros draw solid, a negative or
    // unreadable entry makes the whole list invalid (solid too).
    void Dashes(const std::string& raw) {
        m_Style.dashes.clear();
        if (Lower(raw) == "none")
            return;
        std::vector<Length> list;
        bool positive = false;
        std::string item;
        for (char c : raw + ",") {
            if (c != ',' && !std::isspace(static_cast<unsigned char>(c))) {
                item += c;
                continue;
            }
            if (item.empty())
                continue;
            Length l;
            if (!ParseLength(item, &l) || l.value < 0) {
                Bad("stroke-dasharray", raw);
                return;
            }
            positive = positive || l.value > 0;
            list.push_back(l);
            item.clear();
        }
        if (positive)
            m_Style.dashes = list;
    }

    void FontSize(const std::string& raw) {
        Length l;
        const double parentPx = m_Parent.fontSizePx;
        const std::string v = Lower(raw);
        static const std::pair<const char*, double> kKeywords[] = {
            {"xx-small", 9}, {"x-small", 10}, {"small", 13},   {"medium", 16},
            {"large", 18},   {"x-large", 24}, {"xx-large", 32}};
        for (const auto& [word, px] : kKeywords) {
            if (v == word) {
                m_Style.fontSizePx = px;
                return;
            }
        }
        if (v == "larger" || v == "smaller") {
            m_Style.fontSizePx = parentPx * (v == "larger" ? 1.2 : 1 / 1.2);
            return;
        }
        if (ParseLength(raw, &l) && l.value > 0) {
            m_Style.fontSize = l;
            m_Style.fontSizePx = l.Resolve(parentPx, parentPx);
        } else {
            Bad("font-size", raw);
        }
    }

    void Inherit(const std::string& name) {
        if (name == "opacity")
            m_Style.opacity = m_Parent.opacity;
        else if (name == "display")
            m_Style.display = m_Parent.display;
        else if (name == "stop-color")
            m_Style.stopColor = m_Parent.stopColor;
        else if (name == "stop-opacity")
            m_Style.stopOpacity = m_Parent.stopOpacity;
        else if (name == "clip-path")
            m_Style.clipPath = m_Parent.clipPath;
        else if (name == "mask")
            m_Style.mask = m_Parent.mask;
        else if (name == "filter")
            m_Style.filter = m_Parent.filter;
        // inherited properties already hold the parent's value
    }

    void Number(const std::string& raw, double* out, const std::string& name) {
        double v;
        if (ParseNumber(raw, &v, true)) {
            *out = std::min(1.0, std::max(0.0, v));
        } else {
            Bad(name, raw);
        }
    }

    void Bad(const std::string& name, const std::string& raw) {
        m_Diag->Warn(m_Element.line, "bad-value:" + name, m_Element.Label(),
                     "the value \"" + raw + "\" of " + name + " on \"" + m_Element.Label() +
                         "\" is not understood; it is ignored");
    }

    void NotImported(const std::string& name, const std::string& raw) {
        m_Diag->Warn(m_Element.line, name, m_Element.Label(),
                     name + ": " + raw + " on \"" + m_Element.Label() + "\" is not imported");
    }

    const Style& m_Parent;
    const Element& m_Element;
    Diagnostics* m_Diag;
    Style m_Style;
};

}  // namespace

std::string FunctionalIri(const std::string& value) {
    const size_t open = value.find("url(");
    if (open == std::string::npos) {
        return {};
    }
    const size_t close = value.find(')', open);
    std::string inside =
        value.substr(open + 4, close == std::string::npos ? std::string::npos : close - open - 4);
    std::string out;
    for (char c : inside) {
        if (c != '\'' && c != '"' && c != ' ')
            out += c;
    }
    if (!out.empty() && out[0] == '#') {
        return out.substr(1);
    }
    return out.empty() ? std::string() : "\x01" + out;  // not a local reference
}

Style ComputeStyle(const Style& parent, const Element& element, Diagnostics* diagnostics) {
    return StyleBuilder(parent, element, diagnostics).Build();
}

Rgba ResolveColor(const Paint& paint, const Style& style) {
    return paint.kind == Paint::Kind::CurrentColor ? style.color : paint.color;
}

}  // namespace Import
