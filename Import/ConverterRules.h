#pragma once
// Limits and element kinds shared by the converter's source files.
#include <set>
#include <string>

#include "Import/Geometry2D.h"
#include "Import/SceneWriter.h"

namespace Import {
namespace rules {

inline constexpr int kMaxTextBytes = 4096;
// The player draws nothing beyond this (document units); numbers past it are refused here.
inline constexpr double kMaxCoordinate = 1e7;
inline constexpr int kMaxElements = 1000000;
// Largest deviation of flattened curves from the drawing, in document pixels.
inline constexpr double kTolerancePixels = 0.05;

inline bool IsContainer(const std::string& n) {
    return n == "g" || n == "a" || n == "switch" || n == "svg" || n == "use";
}

inline bool IsShape(const std::string& n) {
    return n == "rect" || n == "circle" || n == "ellipse" || n == "line" || n == "polyline" ||
           n == "polygon" || n == "path";
}

// Elements that never draw where they stand.
inline bool IsSilent(const std::string& n) {
    static const std::set<std::string> kNames = {
        "#text",       "defs",      "symbol",         "clipPath",       "mask",
        "pattern",     "marker",    "linearGradient", "radialGradient", "style",
        "title",       "desc",      "metadata",       "script",         "filter",
        "font",        "font-face", "glyph",          "missing-glyph",  "cursor",
        "view",        "stop",      "color-profile",  "solidColor",     "solidcolor",
        "meshgradient"};
    return kNames.count(n) > 0;
}

inline std::string Point2(Point p, int decimals) {
    return "Point{ " + Num(p.x, decimals) + " " + Num(p.y, decimals) + " }";
}

}  // namespace rules
}  // namespace Import
