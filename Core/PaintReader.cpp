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

const DocumentReader::KeywordTable<std::shared_ptr<BrushBase>>& DocumentReader::BrushKeywords() {
    static const KeywordTable<std::shared_ptr<BrushBase>> kKeywords = {
        {"SolidColorBrush{", &DocumentReader::ReadSolidColorBrush},
        {"LinearGradientBrush{", &DocumentReader::ReadLinearGradientBrush},
        {"RadialGradientBrush{", &DocumentReader::ReadRadialGradientBrush},
    };
    return kKeywords;
}

const DocumentReader::KeywordTable<std::shared_ptr<Image>>& DocumentReader::BitmapKeywords() {
    static const KeywordTable<std::shared_ptr<Image>> kKeywords = {
        {"BitmapFromFile{", &DocumentReader::ReadBitmapFromFile},
    };
    return kKeywords;
}

const DocumentReader::KeywordTable<std::shared_ptr<TransformResource>>&
DocumentReader::TransformKeywords() {
    static const KeywordTable<std::shared_ptr<TransformResource>> kKeywords = {
        {"Translation{", &DocumentReader::ReadTranslation},
        {"PolarTranslation{", &DocumentReader::ReadPolarTranslation},
        {"Rotation{", &DocumentReader::ReadRotation},
        {"Scale{", &DocumentReader::ReadScale},
    };
    return kKeywords;
}

std::shared_ptr<BrushBase> DocumentReader::ReadBrush() {
    CountObject();
    const std::string keyword = ReadToken();
    const ReadPlace place = Here();
    m_VariableSeen = false;
    const auto brush = Dispatch(BrushKeywords(), keyword, "brush");
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
    Expect(kStopCollectionKeyword);
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
    Expect(kStopKeyword);
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
    auto bitmap = Dispatch(BitmapKeywords(), keyword, "bitmap");
    Expect("}");
    bitmap->dependsOnVariables = m_VariableSeen;
    bitmap->m_Document = m_Document;
    NotePlace(bitmap.get(), place);
    return bitmap;
}

std::shared_ptr<Image> DocumentReader::ReadBitmapFromFile() {
    auto bitmap = std::make_shared<Bitmap>(ReadToken());
    // Decoded only at its first draw, long after the load; named here as Bitmap opens it.
    m_Budget->named.push_back(bitmap->FilePath());
    bitmap->m_RT = m_RT;
    bitmap->m_EngineFactory = m_EngineFactory;
    return bitmap;
}

std::shared_ptr<TransformResource> DocumentReader::ReadTransform() {
    CountObject();
    const std::string keyword = ReadToken();
    const ReadPlace place = Here();
    m_VariableSeen = false;
    auto transform = Dispatch(TransformKeywords(), keyword, "transform");
    Expect("}");
    transform->dependsOnVariables = m_VariableSeen;
    transform->m_Document = m_Document;
    NotePlace(transform.get(), place);
    return transform;
}

std::shared_ptr<TransformResource> DocumentReader::ReadTranslation() {
    const ValueD x = ReadField("x");
    return std::make_shared<Translation>(x, ReadField("y"));
}

std::shared_ptr<TransformResource> DocumentReader::ReadPolarTranslation() {
    const ValueD r = ReadField("r");
    return std::make_shared<PolarTranslation>(r, ReadField("t"));
}

std::shared_ptr<TransformResource> DocumentReader::ReadRotation() {
    return std::make_shared<Rotation>(ReadField("t"));
}

std::shared_ptr<TransformResource> DocumentReader::ReadScale() {
    const ValueD x = ReadField("x");
    return std::make_shared<Scale>(x, ReadField("y"));
}

}  // namespace ZEL
