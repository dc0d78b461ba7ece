#pragma once
#include <functional>
#include <map>
#include <string>

#include "Import/Diagnostics.h"
#include "Import/Element.h"
#include "Import/Geometry2D.h"
#include "Import/Style.h"

namespace Import {

// What a fill or stroke paints with, as a brush block of the document.
struct BrushPlan {
    bool none = true;
    std::string base;  // name to give the brush
    std::string body;
    // A radial gradient whose ellipse is turned against the element's axes: the shape is
    // drawn under a rotation by frameDegrees, with its points turned back by it.
    bool turned = false;
    double frameDegrees = 0;
};

// Turns paints (colours and gradient references) into brushes for one element.
class PaintServer {
  public:
    using StyleOf = std::function<Style(const Element&)>;
    PaintServer(const std::map<std::string, const Element*>& ids, StyleOf styleOf,
                Diagnostics* diagnostics)
        : m_Ids(ids), m_StyleOf(std::move(styleOf)), m_Diag(diagnostics) {}

    // bbox: the element's shape in its own user space; viewport: the nearest viewport's
    // size in the same units; decimals: for coordinates.
    BrushPlan Make(const Paint& paint, const Style& style, double opacity, const Box& bbox,
                   const Point& viewport, const Element& user, const std::string& label,
                   const std::string& role, int decimals) const;

  private:
    BrushPlan Solid(const Rgba& color, double opacity, const std::string& base) const;
    BrushPlan Gradient(const Element& gradient, double opacity, const Box& bbox,
                       const Point& viewport, const Element& user, const std::string& label,
                       const std::string& role, int decimals) const;
    BrushPlan Fallback(const Paint& paint, const Style& style, double opacity,
                       const std::string& base) const;

    const std::map<std::string, const Element*>& m_Ids;
    StyleOf m_StyleOf;
    Diagnostics* m_Diag;
};

// Writes SVG's colour as the document's Color block.
std::string ColorBlock(const Rgba& c);

// Singular values and angles of a 2x2 map: linear part of m = R(phi) S(sx, sy) R(theta).
struct Decomposition {
    double phi = 0, sx = 1, sy = 1, theta = 0;  // degrees, factors, degrees
};
Decomposition Decompose(const Affine& m);

}  // namespace Import
