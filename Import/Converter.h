#pragma once
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "Import/Diagnostics.h"
#include "Import/Element.h"
#include "Import/Geometry2D.h"
#include "Import/ImageImport.h"
#include "Import/PaintServer.h"
#include "Import/SceneWriter.h"
#include "Import/Style.h"
#include "Import/SvgSyntax.h"

namespace Import {

struct ConvertOptions {
    std::string prefix;
    double width = 0, height = 0;  // 0: the SVG's own size
    ImageOptions images;
};

struct ConvertResult {
    std::string document;
    double width = 0, height = 0;  // the size the document draws at
    std::vector<ImageFile> files;  // images to write beside the document
};

// Turns a parsed SVG tree (style sheets not yet applied) into a document.
class Converter {
  public:
    Converter(Element& root, const ConvertOptions& options, Diagnostics* diagnostics);
    ConvertResult Run();

  private:
    using Commands = std::vector<std::string>;
    // What a drawn element leaves in the document, for group opacity checks.
    struct Frame {
        Affine ctm;               // user space to document pixels
        Point viewport;           // nearest viewport size in user units
        double opacity = 1;       // opacity of enclosing groups carried down
        std::vector<Path> clips;  // regions (document pixels, winding rule) drawing keeps to
    };

    void IndexIds(const Element& e);
    Style StyleOf(const Element& e);
    void DrawChildren(const Element& e, const Style& style, const Frame& frame, Commands* out,
                      bool topLevel);
    void Draw(const Element& e, const Style& parent, const Frame& frame, Commands* out,
              bool topLevel);
    void DrawContent(const Element& e, const Style& style, const Frame& frame, Commands* out,
                     bool topLevel);
    void DrawShape(const Element& e, const Style& style, const Frame& frame, Commands* out);
    void DrawUse(const Element& e, const Style& style, const Frame& frame, Commands* out);
    void DrawViewport(const Element& e, const Element& content, const Style& style,
                      const Frame& frame, Commands* out, const std::string* widthOverride,
                      const std::string* heightOverride);
    void DrawText(const Element& e, const Style& style, const Frame& frame, Commands* out);
    void DrawImage(const Element& e, const Style& style, const Frame& frame, Commands* out);

    bool ShapePath(const Element& e, const Style& style, const Frame& frame, Path* path,
                   std::string* body, int decimals);
    void PaintShape(const Element& e, const Style& style, const Frame& frame, const Path& path,
                    const std::string& geometryBody, Commands* out);
    // Pushes the element's transform list; returns how many transforms were pushed.
    int PushTransforms(const Element& e, const std::vector<TransformStep>& steps,
                       const Frame& frame, Commands* out);
    int PushStep(const std::string& label, const TransformStep& step, Commands* out);
    void Pop(int count, Commands* out);
    void CheckUnsupported(const Element& e, const Style& style);
    // Adds the element's clip-path to frame.clips; false (after a warning) when it cannot
    // be expressed.
    bool AddClip(const Element& e, const Style& style, const Path* shape, Frame* frame);
    // The part of region (the element's own space) inside every clip of frame.
    Path Clipped(const Path& region, bool evenOdd, const Frame& frame, double tolerance);
    double Len(const Element& e, const char* key, double reference, double fontSize,
               double fallback = 0);
    std::string LabelOf(const Element& e);
    void NoteDrawn(const Box& deviceBox);

    Element& m_Root;
    ConvertOptions m_Options;
    Diagnostics* m_Diag;
    SceneWriter m_Writer;
    std::map<std::string, const Element*> m_Ids;
    std::map<const Element*, Style> m_StyleCache;
    std::map<const Element*, std::string> m_Labels;
    std::map<std::string, int> m_LabelCounts;
    std::map<std::pair<const Element*, std::string>, std::string> m_GeometryNames;
    std::set<const Element*> m_Expanding;  // <use> targets being drawn, against cycles
    std::vector<Box> m_Drawn;              // device boxes of drawn items, in order
    std::unique_ptr<PaintServer> m_Paint;
    ImageWriter m_Images;
    int m_Depth = 0;
    int m_Elements = 0;
};

}  // namespace Import
