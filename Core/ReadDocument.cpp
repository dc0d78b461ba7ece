// The document frame: eight counted sections in a fixed order, and child documents.
#include <stdexcept>

#include "Core/Animation.h"
#include "Core/BrushBase.h"
#include "Core/ControllerBase.h"
#include "Core/DocumentReader.h"
#include "Core/ExecutableBase.h"
#include "Core/Factory.h"
#include "Core/GeometryBase.h"
#include "Core/Image.h"
#include "Core/Scenimator.h"

namespace ZEL {

// Reads "label n" and then n named items; a duplicate name is reported at the line where
// its block ends.
template <typename Section>
void DocumentReader::ReadSection(const char* label, Section readOne) {
    Expect(label);
    const int32_t count = ReadInt();
    CountedList list(this, label, count);
    for (int32_t i = 0; i < count; ++i) {
        const std::string name = ReadToken();
        list.At(i, name);
        try {
            readOne(name);
        } catch (const std::invalid_argument& e) {
            RaiseParseError(e.what());
        }
    }
}

std::unique_ptr<Scenimator> DocumentReader::ReadDocument(const std::string& path,
                                                         uint32_t startTime,
                                                         Gfx::RenderTarget* renderTarget) {
    m_StartTime = startTime;
    m_In.lineNumber = 0;
    OpenInput(path, &m_In);
    m_In.fileName = path;
    EnterFile(path);
    m_RT = renderTarget;
    auto document = std::make_unique<Scenimator>(renderTarget);
    m_Document = document.get();
    Scenimator& doc = *document;
    if (m_Record) {
        m_Record->files[m_Document] = path;
    }
    doc.SetMaskCache(m_EngineFactory);

    Expect(kDocumentKeyword);
    ReadSection(kSectionLabels[0], [&](const std::string& name) {
        auto geometry = ReadGeometry();
        geometry->name = name;
        geometry->m_EngineFactory = m_EngineFactory;
        geometry->m_MaskScope = doc.Serial();
        doc.AddGeometry(geometry, name);
    });
    ReadSection(kSectionLabels[1], [&](const std::string& name) {
        auto brush = ReadBrush();
        brush->m_RT = m_RT;
        doc.AddBrush(brush, name);
    });
    ReadSection(kSectionLabels[2],
                [&](const std::string& name) { doc.AddBitmap(ReadBitmap(), name); });
    ReadSection(kSectionLabels[3],
                [&](const std::string& name) { doc.AddTransform(ReadTransform(), name); });
    ReadSection(kSectionLabels[4],
                [&](const std::string& name) { doc.AddChildZel(ReadChildDocument(), name); });
    ReadSection(kSectionLabels[5],
                [&](const std::string& name) { doc.AddExecutable(ReadExecutable(), name); });
    ReadSection(kSectionLabels[6],
                [&](const std::string& name) { doc.AddController(ReadController(), name); });
    ReadSection(kSectionLabels[7],
                [&](const std::string& name) { doc.AddAnimation(ReadAnimation(), name); });
    Expect("}");
    NoteUnreadText(0);

    doc.PlayAnimation("MainAnim", startTime);
    return document;
}

std::shared_ptr<IScenimator> DocumentReader::ReadChildDocument() {
    CountObject();
    Expect(kDocumentKeyword);
    const ReadPlace place = Here();
    const std::string path = ReadToken();
    CheckCanEnter(path);
    IScenimator* loaded = nullptr;
    // The factory running this load, so the child counts against the same budget.
    IFactory* factory = m_EngineFactory ? static_cast<IFactory*>(m_EngineFactory) : GetFactory();
    if (factory->CreateScenimator(path, m_StartTime, m_RT, &loaded) != kSuccess) {
        RaiseParseError(factory->GetErrorText());
    }
    std::shared_ptr<IScenimator> child(loaded);
    NotePlace(child.get(), place);
    Expect("noOfArgs");
    const int32_t count = ReadInt();
    {
        CountedList list(this, "noOfArgs", count);
        for (int32_t i = 0; i < count; ++i) {
            list.At(i);
            const std::string name = ReadToken();
            if (name.empty()) {
                break;  // the end of the file: the missing "}" is reported below
            }
            CountObject();
            const float value = ReadFloat();
            const bool written = child->WriteVariable(name, value) == kSuccess;
            if (m_Record) {
                m_Record->arguments[child.get()].push_back(name);
                if (!written) {
                    Forgive(ReadRecord::Forgiven::kLostArgument, name);
                }
            }
        }
    }
    Expect("}");
    return child;
}

}  // namespace ZEL
