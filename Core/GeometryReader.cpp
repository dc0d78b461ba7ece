// Geometry blocks: one small reader per keyword, picked from a table.
#include <utility>

#include "Core/CombinedGeometry.h"
#include "Core/DocumentReader.h"
#include "Core/Ellipse.h"
#include "Core/Factory.h"
#include "Core/Path.h"
#include "Core/Rectangle.h"
#include "Core/Scenimator.h"
#include "Core/Text.h"

namespace ZEL {

namespace {
constexpr size_t kMaxTextBytes = 4096;
}

const DocumentReader::KeywordTable<std::shared_ptr<GeometryBase>>&
DocumentReader::GeometryKeywords() {
    static const KeywordTable<std::shared_ptr<GeometryBase>> kKeywords = {
        {"Ellipse{", &DocumentReader::ReadEllipse}, {"Rectangle{", &DocumentReader::ReadRectangle},
        {"Path{", &DocumentReader::ReadPath},       {"Combined{", &DocumentReader::ReadCombined},
        {"Source{", &DocumentReader::ReadSource},   {"Text{", &DocumentReader::ReadText},
    };
    return kKeywords;
}

const DocumentReader::KeywordTable<std::shared_ptr<ISegment>>& DocumentReader::SegmentKeywords() {
    static const KeywordTable<std::shared_ptr<ISegment>> kKeywords = {
        {"Line{", &DocumentReader::ReadLine},
        {"Bezier{", &DocumentReader::ReadBezier},
    };
    return kKeywords;
}

std::shared_ptr<GeometryBase> DocumentReader::ReadGeometry() {
    CountObject();
    const std::string keyword = ReadToken();
    const ReadPlace place = Here();
    m_VariableSeen = false;
    const auto geometry = Dispatch(GeometryKeywords(), keyword, "geometry");
    Expect("hitTest");
    if (ReadInt() != 0) {
        geometry->m_HitTest = true;
    }
    Expect("}");
    geometry->m_Document = m_Document;
    geometry->dependsOnVariables = m_VariableSeen;
    NotePlace(geometry.get(), place);
    return geometry;
}

std::shared_ptr<GeometryBase> DocumentReader::ReadEllipse() {
    Expect("center");
    const Point center = ReadPoint();
    const ValueD rx = ReadField("radiusX");
    const ValueD ry = ReadField("radiusY");
    return std::make_shared<Ellipse>(center, rx, ry);
}

std::shared_ptr<GeometryBase> DocumentReader::ReadRectangle() {
    const ValueD x = ReadField("x");
    const ValueD y = ReadField("y");
    const ValueD w = ReadField("w");
    const ValueD h = ReadField("h");
    return std::make_shared<Rectangle>(x, y, w, h);
}

std::shared_ptr<GeometryBase> DocumentReader::ReadPath() {
    auto path = std::make_shared<Path>();
    Expect("noOfFigures");
    const int32_t count = ReadInt();
    CountedList list(this, "noOfFigures", count);
    for (int32_t i = 0; i < count; ++i) {
        list.At(i);
        path->Append(ReadFigure());
    }
    return path;
}

std::shared_ptr<Figure> DocumentReader::ReadFigure() {
    CountObject();
    Expect(kFigureKeyword);
    Expect("startPoint");
    const Point start = ReadPoint();
    Expect("closed");
    const bool closed = ReadInt() != 0;
    auto figure = std::make_shared<Figure>(start, closed);
    Expect("noOfSegments");
    const int32_t count = ReadInt();
    {
        CountedList list(this, "noOfSegments", count);
        for (int32_t i = 0; i < count; ++i) {
            list.At(i);
            figure->Append(ReadSegment());
        }
    }
    Expect("}");
    return figure;
}

std::shared_ptr<ISegment> DocumentReader::ReadSegment() {
    CountObject();
    const std::string keyword = ReadToken();
    auto segment = Dispatch(SegmentKeywords(), keyword, "segment");
    Expect("}");
    return segment;
}

std::shared_ptr<ISegment> DocumentReader::ReadLine() {
    Expect("to");
    return std::make_shared<Line>(ReadPoint());
}

std::shared_ptr<ISegment> DocumentReader::ReadBezier() {
    Expect("p1");
    const Point p1 = ReadPoint();
    Expect("p2");
    const Point p2 = ReadPoint();
    Expect("p3");
    const Point p3 = ReadPoint();
    return std::make_shared<Bezier>(p1, p2, p3);
}

Gfx::CombineMode DocumentReader::ReadCombineMode() {
    const std::string token = ReadToken();
    if (token == "Union") {
        return Gfx::CombineMode::Union;
    }
    if (token == "Intersect") {
        return Gfx::CombineMode::Intersect;
    }
    if (token == "Exclude") {
        return Gfx::CombineMode::Exclude;
    }
    if (token == "Xor") {
        return Gfx::CombineMode::Xor;
    }
    NoteKeywords({"Union", "Intersect", "Exclude", "Xor"});
    RaiseParseError("Unknown combine mode \"" + token + "\"");
}

std::shared_ptr<GeometryBase> DocumentReader::ReadCombined() {
    Expect("geometry1");
    const std::string first = ReadToken();
    Expect("geometry2");
    const std::string second = ReadToken();
    Expect("mode");
    const Gfx::CombineMode mode = ReadCombineMode();
    auto a = m_Document->FindGeometry(first);
    if (!a) {
        RaiseParseError("a geometry with name \"" + first + "\" does not exist");
    }
    auto b = m_Document->FindGeometry(second);
    if (!b) {
        RaiseParseError("a geometry with name \"" + second + "\" does not exist");
    }
    m_VariableSeen = a->dependsOnVariables || b->dependsOnVariables;
    return std::make_shared<CombinedGeometry>(a, b, mode);
}

// Reads one geometry block from another file, then goes on in this one where it stopped.
std::shared_ptr<GeometryBase> DocumentReader::ReadSource() {
    const std::string path = ReadToken();
    EnterFile(path);
    Input saved = std::move(m_In);
    m_In = Input();
    m_In.fileName = path;
    m_In.lineNumber = 0;
    struct Restore {
        DocumentReader* reader;
        Input* saved;
        ~Restore() {
            reader->m_In = std::move(*saved);
            reader->LeaveFile();
        }
    } restore{this, &saved};
    OpenInput(path, &m_In);
    auto geometry = ReadGeometry();
    NoteUnreadText(1);
    return geometry;
}

std::shared_ptr<GeometryBase> DocumentReader::ReadText() {
    Expect("text");
    const std::string text = ReadToken();
    if (text.size() > kMaxTextBytes) {
        RaiseParseError("a text may hold at most " + std::to_string(kMaxTextBytes) + " bytes");
    }
    Expect("font");
    const std::string font = ReadToken();
    const ValueD size = ReadField("size");
    const ValueD x = ReadField("x");
    const ValueD y = ReadField("y");
    const ValueD w = ReadField("w");
    const ValueD h = ReadField("h");
    return std::make_shared<Text>(text, font, size, x, y, w, h);
}

}  // namespace ZEL
