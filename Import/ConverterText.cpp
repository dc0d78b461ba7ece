// The converter's text and images.
#include <cmath>
#include <functional>

#include "Import/Converter.h"
#include "Import/ConverterRules.h"
#include "Import/TextMeasure.h"

namespace Import {

using namespace rules;

namespace {

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
