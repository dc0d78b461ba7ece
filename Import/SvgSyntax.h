#pragma once
#include <string>
#include <utility>
#include <vector>

#include "Import/Geometry2D.h"

// SVG's own small languages (path data, transform lists, colours, paints, lengths, point
// lists, viewBox, preserveAspectRatio, style declarations), parsed through SVG++.
namespace Import {

// Arcs come back as cubic Béziers, quadratic and shorthand curves as cubics, every
// coordinate absolute. On an error the figures before it are kept (SVG draws a path up
// to its first error) and the result is false.
bool ParsePathData(const std::string& data, Path* out);

// One entry of a transform list, kept as written so that the document can name it.
struct TransformStep {
    enum class Kind { Translate, Rotate, Scale, Matrix };
    Kind kind = Kind::Matrix;
    double v[6] = {0, 0, 0,
                   0, 0, 0};  // translate x y; rotate degrees cx cy; scale x y; matrix a..f
    Affine ToAffine() const;
};
// False (and no steps) on a syntax error: an invalid transform list is ignored whole.
bool ParseTransformList(const std::string& text, std::vector<TransformStep>* out);

struct Rgba {
    double r = 0, g = 0, b = 0, a = 1;  // 0..1
    bool operator==(const Rgba& o) const { return r == o.r && g == o.g && b == o.b && a == o.a; }
};
// Every CSS colour form: names, #rgb, #rgba, #rrggbb, #rrggbbaa, rgb(), rgba(), hsl(),
// hsla(), transparent. False for anything else (currentColor included).
bool ParseColor(const std::string& text, Rgba* out);

struct Paint {
    enum class Kind { None, Color, CurrentColor, Url };
    Kind kind = Kind::None;
    Rgba color;
    std::string url;             // the fragment of url(#id)
    Kind fallback = Kind::None;  // for Url: what draws when the reference is unusable
    Rgba fallbackColor;
    bool hasFallback = false;
};
bool ParsePaint(const std::string& text, Paint* out);

struct Length {
    enum class Unit { None, Px, Pt, Pc, Mm, Cm, In, Em, Ex, Percent };
    double value = 0;
    Unit unit = Unit::None;
    // In user units: absolute units at 96 per inch, em and ex against the font size,
    // percentages against reference.
    double Resolve(double fontSize, double reference) const;
};
bool ParseLength(const std::string& text, Length* out);
// A plain number (offsets, opacities); "50%" gives 0.5 when percentAllowed.
bool ParseNumber(const std::string& text, double* out, bool percentAllowed = false);

bool ParsePoints(const std::string& text, std::vector<Point>* out);
bool ParseViewBox(const std::string& text, double out[4]);

struct AspectRatio {
    enum class Align { None, Min, Mid, Max };
    Align x = Align::Mid, y = Align::Mid;
    bool slice = false;
};
bool ParseAspectRatio(const std::string& text, AspectRatio* out);
// The map that fits viewBox into a viewport of width x height at (x, y).
Affine ViewBoxMap(const double viewBox[4], const AspectRatio& ratio, double x, double y,
                  double width, double height);

// "name: value; name: value" as trimmed pairs, in order; names lower-cased.
std::vector<std::pair<std::string, std::string>> SplitDeclarations(const std::string& text);

}  // namespace Import
