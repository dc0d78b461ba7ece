#include "Import/SceneWriter.h"

#include <cmath>
#include <cstdio>

namespace Import {

std::string Num(double value, int decimals) {
    if (!std::isfinite(value)) {
        return "0";
    }
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*f", decimals, value);
    std::string s = buffer;
    if (s.find('.') != std::string::npos) {
        while (s.back() == '0') s.pop_back();
        if (s.back() == '.')
            s.pop_back();
    }
    if (s == "-0") {
        s = "0";
    }
    return s;
}

int DecimalsFor(double pixelsPerUnit) {
    if (!(pixelsPerUnit > 0) || !std::isfinite(pixelsPerUnit)) {
        return 3;
    }
    const int d = static_cast<int>(std::ceil(std::log10(pixelsPerUnit * 200)));
    return std::max(0, std::min(8, d));
}

std::string SceneWriter::Unique(Section& section, const std::string& base) {
    std::string clean;
    for (char c : m_Prefix + base) {
        const auto u = static_cast<unsigned char>(c);
        clean += (u <= ' ' || c == '{' || c == '}' || c == '$') ? '_' : c;
    }
    if (clean.empty() || clean == "null") {
        clean = "shape";
    }
    std::string name = clean;
    for (int n = 2; section.names.count(name); ++n) {
        name = clean + "-" + std::to_string(n);
    }
    section.names.insert(name);
    return name;
}

std::string SceneWriter::AddGeometry(const std::string& base, const std::string& body) {
    const std::string name = Unique(m_Geometries, base);
    m_Geometries.entries.emplace_back(name, body);
    return name;
}

std::string SceneWriter::AddBrush(const std::string& base, const std::string& body) {
    auto shared = m_SharedBrushes.find({base, body});
    if (shared != m_SharedBrushes.end()) {
        return shared->second;
    }
    const std::string name = Unique(m_Brushes, base);
    m_Brushes.entries.emplace_back(name, body);
    m_SharedBrushes[{base, body}] = name;
    return name;
}

std::string SceneWriter::AddBitmap(const std::string& base, const std::string& path) {
    const std::string name = Unique(m_Bitmaps, base);
    m_Bitmaps.entries.emplace_back(name, "BitmapFromFile{ " + path + " }");
    return name;
}

std::string SceneWriter::AddTransform(const std::string& base, const std::string& body) {
    const std::string name = Unique(m_Transforms, base);
    m_Transforms.entries.emplace_back(name, body);
    return name;
}

std::string SceneWriter::AddProcedure(const std::string& base,
                                      const std::vector<std::string>& commands) {
    const std::string name = Unique(m_Executables, base);
    std::string body = "Procedure{ noOfCommands " + std::to_string(commands.size()) + "\n";
    for (const auto& command : commands) {
        body += "  " + command + "\n";
    }
    body += "}";
    m_Executables.entries.emplace_back(name, body);
    return name;
}

std::string SceneWriter::PathBody(const Path& path, int decimals) {
    auto point = [decimals](Point p) {
        return "Point{ " + Num(p.x, decimals) + " " + Num(p.y, decimals) + " }";
    };
    std::string body = "Path{ noOfFigures " + std::to_string(path.figures.size());
    for (const auto& f : path.figures) {
        body += "\n  Figure{ startPoint " + point(f.start) + " closed " + (f.closed ? "1" : "0") +
                " noOfSegments " + std::to_string(f.segments.size());
        for (const auto& s : f.segments) {
            if (s.kind == Segment::Kind::Line) {
                body += " Line{ to " + point(s.p3) + " }";
            } else {
                body += " Bezier{ p1 " + point(s.p1) + " p2 " + point(s.p2) + " p3 " + point(s.p3) +
                        " }";
            }
        }
        body += " }";
    }
    body += "\n  hitTest 0 }";
    return body;
}

void SceneWriter::WriteSection(std::string* out, const char* label, const Section& section) {
    *out += label;
    *out += " " + std::to_string(section.entries.size()) + "\n";
    for (const auto& [name, body] : section.entries) {
        *out += name + " " + body + "\n";
    }
}

std::string SceneWriter::Text(const std::string& main) const {
    std::string out = "Scenimator{\n";
    WriteSection(&out, "noOfGeometries", m_Geometries);
    WriteSection(&out, "noOfBrushes", m_Brushes);
    WriteSection(&out, "noOfImages", m_Bitmaps);
    WriteSection(&out, "noOfTransforms", m_Transforms);
    out += "noOfChildZels 0\n";
    WriteSection(&out, "noOfExecutables", m_Executables);
    out += "noOfControllers 0\n";
    out += "noOfAnimations 1\n";
    out += "MainAnim Animation{ renderFunction " + main +
           " controller null transitionTarget MainAnim }\n";
    out += "}\n";
    return out;
}

}  // namespace Import
