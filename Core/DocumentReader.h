#pragma once
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "Core/Composites.h"
#include "Core/LineSource.h"
#include "Core/ReadRecord.h"
#include "Core/ValueD.h"
#include "Gfx/Geometry.h"

namespace Gfx {
class RenderTarget;
}

namespace ZEL {

class Animation;
class BrushBase;
class ControllerBase;
class ExecutableBase;
class Factory;
class Figure;
class GeometryBase;
class GradientStopCollection;
class IScenimator;
class Image;
class ISegment;
class Scenimator;
struct ControllerHead;
struct GradientStop;
struct LoadBudget;
template <typename T, typename Policy>
class Resource;
struct CleanupReset;

// Blocks that stand where no other block can, so no keyword table picks them.
inline constexpr char kDocumentKeyword[] = "Scenimator{";
inline constexpr char kFigureKeyword[] = "Figure{";
inline constexpr char kStopCollectionKeyword[] = "GradientStopCollection{";
inline constexpr char kStopKeyword[] = "GradientStop{";
inline constexpr char kAnimationKeyword[] = "Animation{";
inline constexpr char kColorKeyword[] = "Color{";
inline constexpr char kPointKeyword[] = "Point{";
inline constexpr char kRectKeyword[] = "Rect{";
// The count labels of a document's sections, in the order they must come.
inline constexpr const char* kSectionLabels[] = {
    "noOfGeometries", "noOfBrushes",     "noOfImages",      "noOfTransforms",
    "noOfChildZels",  "noOfExecutables", "noOfControllers", "noOfAnimations",
};

// Reads one document file, token by token, into a new Scenimator. One reader per load;
// child documents get their own through the factory.
class DocumentReader {
  public:
    // Every block keyword the reader accepts, grouped by where it may stand, as the
    // keyword tables and constants above hold them: the format reference is checked
    // against this.
    struct KeywordGroup {
        std::string where;
        std::vector<std::string> keywords;
    };
    static std::vector<KeywordGroup> BlockKeywords();

    explicit DocumentReader(Factory* factory);
    ~DocumentReader();
    DocumentReader(const DocumentReader&) = delete;
    DocumentReader& operator=(const DocumentReader&) = delete;

    std::unique_ptr<Scenimator> ReadDocument(const std::string& path, uint32_t startTime,
                                             Gfx::RenderTarget* renderTarget);

    // Scalars: at the end of the file a token is "", a number 0.
    std::string ReadToken();
    int32_t ReadInt();
    float ReadFloat();
    ValueD ReadValue();
    // A label, then its value.
    ValueD ReadField(const char* label) {
        Expect(label);
        return ReadValue();
    }
    void Expect(const std::string& keyword);
    Color ReadColor();
    Point ReadPoint();
    Rect ReadRect();
    // Throws "Parse Error:::<file> : <line> : <message>" as a logic error.
    [[noreturn]] void RaiseParseError(const std::string& message) const;

    // Blocks of each section, after their name.
    std::shared_ptr<GeometryBase> ReadGeometry();
    std::shared_ptr<BrushBase> ReadBrush();
    std::shared_ptr<Image> ReadBitmap();
    std::shared_ptr<Resource<Gfx::Matrix3x2, CleanupReset>> ReadTransform();
    std::shared_ptr<IScenimator> ReadChildDocument();
    std::shared_ptr<ExecutableBase> ReadExecutable();
    std::shared_ptr<ControllerBase> ReadController();
    std::shared_ptr<Animation> ReadAnimation();

  private:
    // One open file: where reading stands in it, and the rest of the current line.
    struct Input {
        std::string fileName;
        LineSource source;
        int32_t lineNumber = 0;
        std::string line;
        size_t pos = 0;
        bool failed = true;  // no file yet
    };
    class FileScope;

    template <typename Extract>
    bool NextItem(Extract extract);
    void NextLine();
    // Raises "could not open the file" (or its size bound) at the current position.
    void OpenInput(const std::string& path, Input* input);
    // Enters path into the load's chain of open files; raises on a cycle or too deep a chain.
    void EnterFile(const std::string& path);
    void CheckCanEnter(const std::string& path) const;
    void LeaveFile();
    void CountObject();
    template <typename Section>
    void ReadSection(const char* label, Section readOne);
    template <typename Result>
    using KeywordTable = std::vector<std::pair<const char*, Result (DocumentReader::*)()>>;
    // The block readers of each section, in the order keywords are tried.
    static const KeywordTable<std::shared_ptr<GeometryBase>>& GeometryKeywords();
    static const KeywordTable<std::shared_ptr<ISegment>>& SegmentKeywords();
    static const KeywordTable<std::shared_ptr<BrushBase>>& BrushKeywords();
    static const KeywordTable<std::shared_ptr<Image>>& BitmapKeywords();
    static const KeywordTable<std::shared_ptr<Resource<Gfx::Matrix3x2, CleanupReset>>>&
    TransformKeywords();
    static const KeywordTable<std::shared_ptr<ExecutableBase>>& ExecutableKeywords();
    static const KeywordTable<std::shared_ptr<ControllerBase>>& ControllerKeywords();

    // Runs the reader the table names for keyword; raises "Unknown <kind> type" otherwise.
    template <typename Result>
    Result Dispatch(const KeywordTable<Result>& table, const std::string& keyword,
                    const char* kind) {
        for (const auto& entry : table) {
            if (keyword == entry.first) {
                return (this->*entry.second)();
            }
        }
        if (m_Record) {
            for (const auto& entry : table) {
                m_Record->keywords.push_back(entry.first);
            }
        }
        RaiseParseError(std::string("Unknown ") + kind + " type \"" + keyword + "\"");
    }
    // Only while a record is attached (see ReadRecord); nothing is read for them.
    ReadPlace Here() const;
    void Forgive(ReadRecord::Forgiven kind, std::string text, int32_t number = 0);
    void NotePlace(const void* object, const ReadPlace& place);
    void NoteKeywords(std::initializer_list<const char*> keywords);
    void NoteGluedText(size_t numberEnd);
    // Looks past the end of what the engine reads of a file, for text it never reads.
    void NoteUnreadText(int32_t inSource);
    // Keeps the record's view of the counted list being read: "label count", items so far.
    class CountedList {
      public:
        CountedList(DocumentReader* reader, const char* label, int32_t count);
        ~CountedList();
        CountedList(const CountedList&) = delete;
        CountedList& operator=(const CountedList&) = delete;
        // Item `done` (from 0) is about to be read; name: a section item's name.
        void At(int32_t done, const std::string& name = std::string());

      private:
        ReadRecord* m_Record;
    };

    std::shared_ptr<GeometryBase> ReadEllipse();
    std::shared_ptr<GeometryBase> ReadRectangle();
    std::shared_ptr<GeometryBase> ReadPath();
    std::shared_ptr<GeometryBase> ReadCombined();
    std::shared_ptr<GeometryBase> ReadSource();
    std::shared_ptr<GeometryBase> ReadText();
    std::shared_ptr<Figure> ReadFigure();
    std::shared_ptr<ISegment> ReadSegment();
    std::shared_ptr<ISegment> ReadLine();
    std::shared_ptr<ISegment> ReadBezier();
    Gfx::CombineMode ReadCombineMode();

    std::shared_ptr<BrushBase> ReadSolidColorBrush();
    std::shared_ptr<BrushBase> ReadLinearGradientBrush();
    std::shared_ptr<BrushBase> ReadRadialGradientBrush();
    std::shared_ptr<GradientStopCollection> ReadGradientStopCollection();
    GradientStop ReadGradientStop();
    std::shared_ptr<Image> ReadBitmapFromFile();
    std::shared_ptr<Resource<Gfx::Matrix3x2, CleanupReset>> ReadTranslation();
    std::shared_ptr<Resource<Gfx::Matrix3x2, CleanupReset>> ReadPolarTranslation();
    std::shared_ptr<Resource<Gfx::Matrix3x2, CleanupReset>> ReadRotation();
    std::shared_ptr<Resource<Gfx::Matrix3x2, CleanupReset>> ReadScale();

    std::shared_ptr<ExecutableBase> ReadProcedure();
    std::shared_ptr<ExecutableBase> ReadFill();
    std::shared_ptr<ExecutableBase> ReadStroke();
    std::shared_ptr<ExecutableBase> ReadDrawImage();
    std::shared_ptr<ExecutableBase> ReadPushTransform();
    std::shared_ptr<ExecutableBase> ReadPopTransform();
    std::shared_ptr<ExecutableBase> ReadCaptureHitTestTransform();
    std::shared_ptr<ExecutableBase> ReadCall();
    std::shared_ptr<ExecutableBase> ReadRenderZel();
    std::shared_ptr<ExecutableBase> ReadSetZelVar();
    std::shared_ptr<GeometryBase> LookUpGeometry();
    std::shared_ptr<BrushBase> LookUpBrush();
    std::shared_ptr<IScenimator> LookUpChildZel();

    ControllerHead ReadControllerHead();
    std::shared_ptr<ControllerBase> ReadConst();
    std::shared_ptr<ControllerBase> ReadLinear();
    std::shared_ptr<ControllerBase> ReadLinear2d();
    std::shared_ptr<ControllerBase> ReadSinusoidal();
    std::shared_ptr<ControllerBase> ReadAddition();
    std::shared_ptr<ControllerBase> ReadTrigger();

    Factory* m_EngineFactory;
    ReadRecord* m_Record;  // null unless the factory has one attached
    LoadBudget* m_Budget;
    std::unique_ptr<LoadBudget> m_OwnBudget;  // when used outside a factory load
    Input m_In;
    size_t m_FilesEntered = 0;  // entries this reader added to the load's chain
    Scenimator* m_Document = nullptr;
    bool m_VariableSeen = false;
    Gfx::RenderTarget* m_RT = nullptr;
    uint32_t m_StartTime = 0;
};

}  // namespace ZEL
