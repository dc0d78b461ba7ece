// Brush, bitmap and transform blocks.
#include <utility>

#include "Core/Bitmap.h"
#include "Core/DocumentReader.h"
#include "Core/Factory.h"
#include "Core/GradientStopCollection.h"
#include "Core/LinearGradientBrush.h"
#include "Core/RadialGradientBrush.h"
#include "Core/Scenimator.h"
#include "Core/SolidColorBrush.h"
#include "Core/Transforms.h"

namespace ZEL {

std::shared_ptr<BrushBase> DocumentReader::ReadBrush() {
    using Reader = std::shared_ptr<BrushBase> (DocumentReader::*)();
    static const std::pair<const char*, Reader> kKeywords[] = {
        {"SolidColorBrush{", &DocumentReader::ReadSolidColorBrush},
        {"LinearGradientBrush{", &DocumentReader::ReadLinearGradientBrush},
        {"RadialGradientBrush{", &DocumentReader::ReadRadialGradientBrush},
    };
    CountObject();
    const std::string keyword = ReadToken();
    const ReadPlace place = Here();
    m_VariableSeen = false;
    const auto brush = Dispatch(kKeywords, keyword, "brush");
    Expect("opacity");
    brush->SetOpacity(ReadValue());
    Expect("}");
    brush->dependsOnVariables = m_VariableSeen;
    brush->m_Document = m_Document;
    NotePlace(brush.get(), place);
    return brush;
}

std::shared_ptr<BrushBase> DocumentReader::ReadSolidColorBrush() {
    return std::make_shared<SolidColorBrush>(ReadColor());
}

std::shared_ptr<BrushBase> DocumentReader::ReadLinearGradientBrush() {
    Expect("start");
    const Point start = ReadPoint();
    Expect("end");
    const Point end = ReadPoint();
    return std::make_shared<LinearGradientBrush>(ReadGradientStopCollection(), start, end);
}

std::shared_ptr<BrushBase> DocumentReader::ReadRadialGradientBrush() {
    Expect("center");
    const Point center = ReadPoint();
    Expect("originOffset");
    const Point offset = ReadPoint();
    const ValueD rx = ReadField("radiusX");
    const ValueD ry = ReadField("radiusY");
    return std::make_shared<RadialGradientBrush>(ReadGradientStopCollection(), center, offset, rx,
                                                 ry);
}

std::shared_ptr<GradientStopCollection> DocumentReader::ReadGradientStopCollection() {
    Expect("GradientStopCollection{");
    Expect("noOfGradientStops");
    const int32_t count = ReadInt();
    auto collection = std::make_shared<GradientStopCollection>();
    {
        CountedList list(this, "noOfGradientStops", count);
        for (int32_t i = 0; i < count; ++i) {
            list.At(i);
            collection->Append(ReadGradientStop());
        }
    }
    Expect("extendMode");
    collection->m_ExtendMode = ReadInt();
    if (collection->m_ExtendMode < 0 || collection->m_ExtendMode > 2) {
        Forgive(ReadRecord::Forgiven::kBadExtendMode, "", collection->m_ExtendMode);
    }
    Expect("}");
    return collection;
}

GradientStop DocumentReader::ReadGradientStop() {
    CountObject();
    Expect("GradientStop{");
    GradientStop stop;
    stop.position = ReadValue();
    stop.color = ReadColor();
    Expect("}");
    return stop;
}

std::shared_ptr<Image> DocumentReader::ReadBitmap() {
    CountObject();
    const std::string keyword = ReadToken();
    const ReadPlace place = Here();
    m_VariableSeen = false;
    if (keyword != "BitmapFromFile{") {
        NoteKeywords({"BitmapFromFile{"});
        RaiseParseError("Unknown bitmap type \"" + keyword + "\"");
    }
    auto bitmap = std::make_shared<Bitmap>(ReadToken());
    // Decoded only at its first draw, long after the load; named here as Bitmap opens it.
    m_Budget->named.push_back(bitmap->FilePath());
    Expect("}");
    bitmap->m_RT = m_RT;
    bitmap->m_EngineFactory = m_EngineFactory;
    bitmap->dependsOnVariables = m_VariableSeen;
    bitmap->m_Document = m_Document;
    NotePlace(bitmap.get(), place);
    return bitmap;
}

std::shared_ptr<TransformResource> DocumentReader::ReadTransform() {
    CountObject();
    const std::string keyword = ReadToken();
    const ReadPlace place = Here();
    m_VariableSeen = false;
    std::shared_ptr<TransformResource> transform;
    if (keyword == "Translation{") {
        const ValueD x = ReadField("x");
        transform = std::make_shared<Translation>(x, ReadField("y"));
    } else if (keyword == "PolarTranslation{") {
        const ValueD r = ReadField("r");
        transform = std::make_shared<PolarTranslation>(r, ReadField("t"));
    } else if (keyword == "Rotation{") {
        transform = std::make_shared<Rotation>(ReadField("t"));
    } else if (keyword == "Scale{") {
        const ValueD x = ReadField("x");
        transform = std::make_shared<Scale>(x, ReadField("y"));
    } else {
        NoteKeywords({"Translation{", "PolarTranslation{", "Rotation{", "Scale{"});
        RaiseParseError("Unknown transform type \"" + keyword + "\"");
    }
    Expect("}");
    transform->dependsOnVariables = m_VariableSeen;
    transform->m_Document = m_Document;
    NotePlace(transform.get(), place);
    return transform;
}

}  // namespace ZEL
