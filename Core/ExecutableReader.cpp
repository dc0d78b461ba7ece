// Procedures and drawing commands; names are resolved against what is read so far.
#include <utility>

#include "Core/Bitmap.h"
#include "Core/ChildCommands.h"
#include "Core/DocumentReader.h"
#include "Core/DrawCommands.h"
#include "Core/Procedure.h"
#include "Core/Scenimator.h"
#include "Core/TransformCommands.h"

namespace ZEL {

const DocumentReader::KeywordTable<std::shared_ptr<ExecutableBase>>&
DocumentReader::ExecutableKeywords() {
    static const KeywordTable<std::shared_ptr<ExecutableBase>> kKeywords = {
        {"Procedure{", &DocumentReader::ReadProcedure},
        {"Fill{", &DocumentReader::ReadFill},
        {"Stroke{", &DocumentReader::ReadStroke},
        {"DrawImage{", &DocumentReader::ReadDrawImage},
        {"PushTransform{", &DocumentReader::ReadPushTransform},
        {"PopTransform{", &DocumentReader::ReadPopTransform},
        {"Call{", &DocumentReader::ReadCall},
        {"CaptureHitTestTransform{", &DocumentReader::ReadCaptureHitTestTransform},
        {"RenderZel{", &DocumentReader::ReadRenderZel},
        {"SetZelVar{", &DocumentReader::ReadSetZelVar},
    };
    return kKeywords;
}

std::shared_ptr<ExecutableBase> DocumentReader::ReadExecutable() {
    CountObject();
    const std::string keyword = ReadToken();
    const ReadPlace place = Here();
    const auto executable = Dispatch(ExecutableKeywords(), keyword, "executable");
    Expect("}");
    executable->m_Document = m_Document;
    NotePlace(executable.get(), place);
    return executable;
}

std::shared_ptr<ExecutableBase> DocumentReader::ReadProcedure() {
    auto procedure = std::make_shared<Procedure>();
    Expect("noOfCommands");
    const int32_t count = ReadInt();
    CountedList list(this, "noOfCommands", count);
    for (int32_t i = 0; i < count; ++i) {
        list.At(i);
        procedure->Append(ReadExecutable());
    }
    return procedure;
}

std::shared_ptr<GeometryBase> DocumentReader::LookUpGeometry() {
    const std::string name = ReadToken();
    auto geometry = m_Document->FindGeometry(name);
    if (!geometry) {
        RaiseParseError("a geometry with name \"" + name + "\" does not exist");
    }
    return geometry;
}

std::shared_ptr<BrushBase> DocumentReader::LookUpBrush() {
    const std::string name = ReadToken();
    auto brush = m_Document->FindBrush(name);
    if (!brush) {
        RaiseParseError("a brush with name \"" + name + "\" does not exist");
    }
    return brush;
}

std::shared_ptr<IScenimator> DocumentReader::LookUpChildZel() {
    const std::string name = ReadToken();
    auto child = m_Document->FindChildZel(name);
    if (!child) {
        RaiseParseError("a child zel with name \"" + name + "\" does not exist");
    }
    return child;
}

std::shared_ptr<ExecutableBase> DocumentReader::ReadFill() {
    auto fill = std::make_shared<FillCommand>();
    fill->m_RT = m_RT;
    fill->m_Geometry = LookUpGeometry();
    fill->m_Brush = LookUpBrush();
    return fill;
}

std::shared_ptr<ExecutableBase> DocumentReader::ReadStroke() {
    auto geometry = LookUpGeometry();
    auto brush = LookUpBrush();
    auto stroke = std::make_shared<StrokeCommand>(ReadValue());
    stroke->m_RT = m_RT;
    stroke->m_Geometry = std::move(geometry);
    stroke->m_Brush = std::move(brush);
    return stroke;
}

std::shared_ptr<ExecutableBase> DocumentReader::ReadDrawImage() {
    Expect("source");
    const std::string name = ReadToken();
    auto bitmap = std::dynamic_pointer_cast<Bitmap>(m_Document->FindBitmap(name));
    if (!bitmap) {
        RaiseParseError("a bitmap with name \"" + name + "\" does not exist");
    }
    Expect("destRect");
    const Rect dest = ReadRect();
    const ValueD opacity = ReadField("opacity");
    Expect("srcRect");
    const Rect src = ReadRect();
    auto draw = std::make_shared<DrawImageCommand>(bitmap, dest, opacity, src);
    draw->m_RT = m_RT;
    return draw;
}

std::shared_ptr<ExecutableBase> DocumentReader::ReadPushTransform() {
    const std::string name = ReadToken();
    auto transform = m_Document->FindTransform(name);
    if (!transform) {
        RaiseParseError("a transform with name \"" + name + "\" does not exist");
    }
    return std::make_shared<PushTransformCommand>(transform);
}

std::shared_ptr<ExecutableBase> DocumentReader::ReadPopTransform() {
    return std::make_shared<PopTransformCommand>();
}

std::shared_ptr<ExecutableBase> DocumentReader::ReadCaptureHitTestTransform() {
    return std::make_shared<CaptureHitTestTransformCommand>();
}

std::shared_ptr<ExecutableBase> DocumentReader::ReadCall() {
    const std::string name = ReadToken();
    auto executable = m_Document->FindExecutable(name);
    if (!executable) {
        RaiseParseError("an executable with name \"" + name + "\" does not exist");
    }
    auto procedure = std::dynamic_pointer_cast<Procedure>(executable);
    if (!procedure) {
        RaiseParseError(name + " is not a procedure, and can not be used with Call");
    }
    return std::make_shared<CallCommand>(procedure);
}

std::shared_ptr<ExecutableBase> DocumentReader::ReadRenderZel() {
    return std::make_shared<RenderZelCommand>(LookUpChildZel());
}

std::shared_ptr<ExecutableBase> DocumentReader::ReadSetZelVar() {
    auto child = LookUpChildZel();
    std::string variable = ReadToken();
    const ValueD value = ReadValue();
    return std::make_shared<SetZelVarCommand>(child, std::move(variable), value);
}

}  // namespace ZEL
