#pragma once
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "Check/Diagnostic.h"
#include "Check/DocumentTree.h"

namespace Gfx {
class RenderTarget;
}

namespace ZEL {

class Bitmap;
class IScenimator;
class Scenimator;

// Plays a loaded document as a player does, headless: an update every 1/60 s and, on the
// target the document was loaded onto, a drawing every sixth frame and whenever the top
// document's animation changes. Reports the first update or drawing that fails as an error
// "at T ms", and any other text the engine leaves in a document's error text (failures of
// child documents, which their parents ignore) as a warning, unless a warning of the
// check already explains it.
class TimelineRun {
  public:
    TimelineRun(Scenimator& top, Gfx::RenderTarget& target, const DocumentTree& tree,
                const ExplainedTexts& explained);

    // Frames from `from` up to and including `to` (document times, ms).
    void Play(uint32_t from, uint32_t to, std::vector<Diagnostic>* out);
    // Images whose failure a note of the run already gave.
    const std::set<const Bitmap*>& ImagesNoted() const { return m_ImagesNoted; }

  private:
    bool Draw(std::string* error);
    void Fail(uint32_t time, const std::string& text, std::vector<Diagnostic>* out);
    void Watch(uint32_t time, std::vector<Diagnostic>* out);

    Scenimator& m_Top;
    Gfx::RenderTarget& m_Target;
    const DocumentTree& m_Tree;
    const ExplainedTexts& m_Explained;
    std::set<std::pair<const IScenimator*, std::string>> m_Seen;
    std::set<const Bitmap*> m_ImagesNoted;
};

}  // namespace ZEL
