// The scenes as a document for the engine and as JSON for the Skia peer.
#include <map>
#include <sstream>
#include <utility>
#include <vector>

#include "Scene.h"

namespace Bench {

namespace {

std::string Num(float v) {
    std::ostringstream s;
    s << v;
    return s.str();
}

std::string Point(float x, float y) {
    return "Point{ " + Num(x) + " " + Num(y) + " }";
}

std::string Color(float r, float g, float b, float a) {
    return "Color{ " + Num(r) + " " + Num(g) + " " + Num(b) + " " + Num(a) + " }";
}

std::string Stops(const Paint& p) {
    std::string s = "GradientStopCollection{ noOfGradientStops " + std::to_string(p.stops.size());
    for (const Stop& stop : p.stops)
        s += " GradientStop{ " + Num(stop.offset) + " " + Color(stop.r, stop.g, stop.b, stop.a) +
             " }";
    return s + " extendMode " + std::to_string(p.extend) + " }";
}

std::string BrushBlock(const Paint& p) {
    switch (p.kind) {
        case Paint::Kind::Solid:
            return "SolidColorBrush{ " + Color(p.r, p.g, p.b, p.a) + " opacity 1 }";
        case Paint::Kind::Linear:
            return "LinearGradientBrush{ start " + Point(p.x0, p.y0) + " end " + Point(p.x1, p.y1) +
                   " " + Stops(p) + " opacity 1 }";
        case Paint::Kind::Radial:
            return "RadialGradientBrush{ center " + Point(p.x0, p.y0) + " originOffset " +
                   Point(p.fx, p.fy) + " radiusX " + Num(p.x1) + " radiusY " + Num(p.y1) + " " +
                   Stops(p) + " opacity 1 }";
    }
    return "";
}

std::string GeometryBlock(const Shape& s) {
    switch (s.kind) {
        case Shape::Kind::Ellipse:
            return "Ellipse{ center " + Point(s.x, s.y) + " radiusX " + Num(s.w) + " radiusY " +
                   Num(s.h) + " hitTest 0 }";
        case Shape::Kind::Rect:
            return "Rectangle{ x " + Num(s.x) + " y " + Num(s.y) + " w " + Num(s.w) + " h " +
                   Num(s.h) + " hitTest 0 }";
        case Shape::Kind::Bezier: {
            std::string f = "Path{ noOfFigures 1 Figure{ startPoint " +
                            Point(s.points[0], s.points[1]) + " closed 1 noOfSegments " +
                            std::to_string((s.points.size() - 2) / 6);
            for (size_t i = 2; i + 5 < s.points.size(); i += 6)
                f += " Bezier{ p1 " + Point(s.points[i], s.points[i + 1]) + " p2 " +
                     Point(s.points[i + 2], s.points[i + 3]) + " p3 " +
                     Point(s.points[i + 4], s.points[i + 5]) + " }";
            return f + " } hitTest 0 }";
        }
        case Shape::Kind::Text:
            return "Text{ text " + s.text + " font Arial size " + Num(s.size) + " x " + Num(s.x) +
                   " y " + Num(s.y) + " w " + Num(s.w) + " h " + Num(s.h) + " hitTest 0 }";
        case Shape::Kind::Bitmap:
            break;
    }
    return "";
}

// Brushes shared by every shape that paints the same solid colour.
class Brushes {
  public:
    std::string NameOf(const Paint& p) {
        const std::string block = BrushBlock(p);
        if (p.kind == Paint::Kind::Solid) {
            auto found = m_Solid.find(block);
            if (found != m_Solid.end())
                return found->second;
        }
        const std::string name = "b" + std::to_string(m_Count++);
        m_Text += name + " " + block + "\n";
        if (p.kind == Paint::Kind::Solid)
            m_Solid[block] = name;
        return name;
    }
    std::string Section() const { return "noOfBrushes " + std::to_string(m_Count) + "\n" + m_Text; }

  private:
    std::map<std::string, std::string> m_Solid;
    std::string m_Text;
    int m_Count = 0;
};

std::string JsonPaint(const Paint& p) {
    std::ostringstream s;
    s << "{\"kind\":" << static_cast<int>(p.kind) << ",\"r\":" << p.r << ",\"g\":" << p.g
      << ",\"b\":" << p.b << ",\"a\":" << p.a << ",\"x0\":" << p.x0 << ",\"y0\":" << p.y0
      << ",\"x1\":" << p.x1 << ",\"y1\":" << p.y1 << ",\"fx\":" << p.fx << ",\"fy\":" << p.fy
      << ",\"extend\":" << p.extend << ",\"stops\":[";
    for (size_t i = 0; i < p.stops.size(); ++i) {
        const Stop& st = p.stops[i];
        s << (i ? "," : "") << "[" << st.offset << "," << st.r << "," << st.g << "," << st.b << ","
          << st.a << "]";
    }
    s << "]}";
    return s.str();
}

}  // namespace

std::string ToDocument(const Scene& scene, const std::string& bitmapPath) {
    std::ostringstream geometries, commands;
    Brushes brushes;
    int geometryCount = 0, commandCount = 0;
    for (const Shape& s : scene.shapes) {
        if (s.kind == Shape::Kind::Bitmap) {
            commands << " DrawImage{ source pic destRect Rect{ " << s.x << ' ' << s.y << ' '
                     << s.x + s.w << ' ' << s.y + s.h << " } opacity " << s.opacity
                     << " srcRect Rect{ 0 0 " << kBitmapSide << ' ' << kBitmapSide << " } }";
            ++commandCount;
            continue;
        }
        const std::string g = "g" + std::to_string(geometryCount++);
        geometries << g << " " << GeometryBlock(s) << "\n";
        commands << " Fill{ " << g << " " << brushes.NameOf(s.fill) << " }";
        ++commandCount;
        if (s.stroked) {
            commands << " Stroke{ " << g << " " << brushes.NameOf(s.stroke) << " " << s.strokeWidth
                     << " }";
            ++commandCount;
        }
    }
    const bool bitmap = scene.shapes.front().kind == Shape::Kind::Bitmap;
    // Transforms by name, pushed in this order around the commands.
    std::vector<std::pair<std::string, std::string>> transforms;
    if (scene.moving) {
        transforms.emplace_back("move", "Translation{ x $mx y $my }");
    } else {
        std::ostringstream exact;
        exact.precision(17);
        if (scene.scale != 1) {
            exact << "Scale{ x " << scene.scale << " y " << scene.scale << " }";
            transforms.emplace_back("zoom", exact.str());
            exact.str("");
        }
        if (scene.offsetX != 0 || scene.offsetY != 0) {
            exact << "Translation{ x " << scene.offsetX << " y " << scene.offsetY << " }";
            transforms.emplace_back("shift", exact.str());
        }
    }
    std::string declared, pushes, pops;
    for (const auto& t : transforms) {
        declared += t.first + " " + t.second + "\n";
        pushes += " PushTransform{ " + t.first + " }";
        pops += " PopTransform{ }";
    }
    std::ostringstream doc;
    doc << "Scenimator{\nnoOfGeometries " << geometryCount << "\n"
        << geometries.str() << brushes.Section() << "noOfImages " << (bitmap ? 1 : 0) << "\n"
        << (bitmap ? "pic BitmapFromFile{ " + bitmapPath + " }\n" : "") << "noOfTransforms "
        << transforms.size() << "\n"
        << declared << "noOfChildZels 0\nnoOfExecutables 1\ndraw Procedure{ noOfCommands "
        << commandCount + 2 * transforms.size() << pushes << commands.str() << pops << " }\n";
    if (scene.moving) {
        doc << "noOfControllers 1\nsweep Linear2d{ target $mx begin 0 end 10000 loops 1 targetY "
               "$my beginValue 0 0 endValue 37 23 noOfChildren 0 }\n"
            << "noOfAnimations 1\nMainAnim Animation{ renderFunction draw controller sweep "
               "transitionTarget MainAnim }\n}\n";
    } else {
        doc << "noOfControllers 0\nnoOfAnimations 1\nMainAnim Animation{ renderFunction draw "
               "controller null transitionTarget null }\n}\n";
    }
    return doc.str();
}

std::string ToJson(const Scene& scene, const std::string& bitmapPath) {
    std::ostringstream s;
    s << "{\"name\":\"" << scene.name << "\",\"moving\":" << (scene.moving ? "true" : "false")
      << ",\"bitmap\":\"" << bitmapPath << "\",\"width\":" << kWidth << ",\"height\":" << kHeight
      << ",\"shapes\":[";
    for (size_t i = 0; i < scene.shapes.size(); ++i) {
        const Shape& sh = scene.shapes[i];
        s << (i ? ",\n" : "\n") << "{\"kind\":" << static_cast<int>(sh.kind) << ",\"x\":" << sh.x
          << ",\"y\":" << sh.y << ",\"w\":" << sh.w << ",\"h\":" << sh.h << ",\"text\":\""
          << sh.text << "\",\"size\":" << sh.size << ",\"opacity\":" << sh.opacity
          << ",\"stroked\":" << (sh.stroked ? "true" : "false")
          << ",\"strokeWidth\":" << sh.strokeWidth << ",\"fill\":" << JsonPaint(sh.fill)
          << ",\"stroke\":" << JsonPaint(sh.stroke) << ",\"points\":[";
        for (size_t k = 0; k < sh.points.size(); ++k) s << (k ? "," : "") << sh.points[k];
        s << "]}";
    }
    s << "]}\n";
    return s.str();
}

}  // namespace Bench
