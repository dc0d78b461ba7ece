#pragma once
#include <string>
#include <vector>

#include "Import/Diagnostics.h"
#include "Import/Element.h"
#include "Import/SvgSyntax.h"

namespace Import {

// The computed style of one element: inherited properties come from the parent's
// computed style, the others start at their initial values.
struct Style {
    enum class Cap { Butt, Round, Square };
    enum class Join { Miter, Round, Bevel };
    enum class Anchor { Start, Middle, End };

    // inherited
    Paint fill = BlackPaint();
    Paint stroke;  // none
    double fillOpacity = 1, strokeOpacity = 1;
    Length strokeWidth{1, Length::Unit::None};
    double miterLimit = 4;
    Cap cap = Cap::Butt;
    Join join = Join::Miter;
    bool evenOdd = false;
    std::vector<Length> dashes;  // empty: a solid stroke
    Length dashOffset;
    bool strokeFirst = false;  // paint-order puts the stroke under the fill
    Rgba color{0, 0, 0, 1};
    std::string fontFamily = "sans-serif";
    Length fontSize{16, Length::Unit::Px};
    double fontSizePx = 16;
    int fontWeight = 400;
    bool italic = false;
    Anchor anchor = Anchor::Start;
    bool visible = true;
    bool textEffects = false;  // letter-spacing, decorations and the like were asked for

    // not inherited
    double opacity = 1;
    bool display = true;
    std::string clipPath, mask, filter;
    bool markers = false;
    Rgba stopColor{0, 0, 0, 1};
    double stopOpacity = 1;

    static Paint BlackPaint() {
        Paint p;
        p.kind = Paint::Kind::Color;
        return p;
    }
};

// viewportDiagonal: sqrt((w^2 + h^2) / 2) of the nearest viewport, for percentages.
Style ComputeStyle(const Style& parent, const Element& element, Diagnostics* diagnostics);

// The colour a paint of kind Color or CurrentColor stands for.
Rgba ResolveColor(const Paint& paint, const Style& style);

// The fragment of url(#id) in clip-path, mask, filter and the like; empty for none.
std::string FunctionalIri(const std::string& value);

}  // namespace Import
