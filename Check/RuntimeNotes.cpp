#include "Check/RuntimeNotes.h"

#include "Check/AnimationChain.h"
#include "Check/ImageProblem.h"
#include "Check/Similar.h"
#include "Core/Animation.h"
#include "Core/Bitmap.h"
#include "Core/Scenimator.h"
#include "Core/TransformCommands.h"

namespace ZEL {

namespace {

const char kBlocking[] = "Scenimator Runtime Blocking Error:::";

bool EndsWith(const std::string& text, const std::string& tail) {
    return text.size() >= tail.size() &&
           text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

void MissingAnimation(const DocumentTree::Node& node, const std::string& name,
                      std::vector<Diagnostic>* notes) {
    std::vector<std::string> names;
    std::string list;
    for (const auto& entry : node.document->Animations()) {
        names.push_back(entry.first);
        list += (list.empty() ? "" : ", ") + entry.first;
    }
    std::string text = name == "MainAnim"
                           ? "a document starts by playing \"MainAnim\", and this one has none; "
                           : "there is no animation \"" + name + "\"; ";
    text += list.empty() ? "it has no animations at all" : "its animations: " + list;
    const std::string closest = Closest(name, names);
    if (!closest.empty()) {
        text += " (did you mean \"" + closest + "\"?)";
    }
    notes->push_back(Diagnostic::Note(node.file, 0, text));
}

void NullHandOver(const DocumentTree& tree, const DocumentTree::Node& node, const std::string& name,
                  std::vector<Diagnostic>* notes) {
    auto found = node.document->Animations().find(name);
    if (found == node.document->Animations().end()) {
        return;
    }
    const Animation& animation = *found->second;
    const ReadPlace place = tree.PlaceOf(&animation, node);
    const std::optional<uint32_t> length = PlayLength(animation);
    notes->push_back(Diagnostic::Note(
        place.file, place.line,
        "\"" + name + "\" ends when its controller \"" +
            tree.NameOf(animation.m_Controller.get(), node) + "\" ends" +
            (length ? ", " + std::to_string(*length) + " ms after it starts," : "") +
            " and hands over to \"null\": name the animation to play next after "
            "transitionTarget, or let the controller loop (loops 1)"));
}

// The first PopTransform{ } that runs with nothing pushed, drawing the current animation.
class EmptyPop {
  public:
    const ExecutableBase* Find(const ExecutableBase& executable) {
        if (const auto* procedure = dynamic_cast<const Procedure*>(&executable)) {
            for (const auto& command : procedure->Commands()) {
                if (const ExecutableBase* found = Find(*command)) {
                    return found;
                }
            }
        } else if (const auto* call = dynamic_cast<const CallCommand*>(&executable)) {
            return Find(*call->Target());
        } else if (dynamic_cast<const PushTransformCommand*>(&executable)) {
            ++m_Depth;
        } else if (dynamic_cast<const PopTransformCommand*>(&executable)) {
            if (m_Depth-- == 0) {
                return &executable;
            }
        }
        return nullptr;
    }

  private:
    int m_Depth = 0;
};

void PopWithNothingPushed(const DocumentTree& tree, const DocumentTree::Node& node,
                          std::vector<Diagnostic>* notes) {
    const Scenimator& doc = *node.document;
    auto current = doc.Animations().find(doc.CurrentAnimation());
    if (current == doc.Animations().end() || !current->second->m_RenderFunction) {
        return;
    }
    if (const ExecutableBase* pop = EmptyPop().Find(*current->second->m_RenderFunction)) {
        const ReadPlace place = tree.PlaceOf(pop, node);
        notes->push_back(Diagnostic::Note(
            place.file, place.line,
            "this PopTransform{ } finds nothing pushed when \"" + doc.CurrentAnimation() +
                "\" draws: the frame's own transform is never popped"));
    }
}

void BrokenImages(const DocumentTree& tree, std::set<const Bitmap*>* imagesNoted,
                  std::vector<Diagnostic>* notes) {
    for (const DocumentTree::Node& node : tree.Nodes()) {
        for (const auto& entry : node.document->Bitmaps()) {
            const auto* bitmap = dynamic_cast<const Bitmap*>(entry.second.get());
            if (!bitmap || bitmap->IsBuilt()) {
                continue;
            }
            const std::string problem = ImageProblem(*bitmap);
            if (!problem.empty()) {
                const ReadPlace place = tree.PlaceOf(bitmap, node);
                notes->push_back(Diagnostic::Note(place.file, place.line,
                                                  "image \"" + entry.first + "\": " + problem));
                imagesNoted->insert(bitmap);
            }
        }
    }
}

}  // namespace

std::vector<Diagnostic> RuntimeNotes(const DocumentTree& tree, const DocumentTree::Node& node,
                                     const std::string& text,
                                     std::set<const Bitmap*>* imagesNoted) {
    std::vector<Diagnostic> notes;
    const std::string blocking = kBlocking;
    const std::string nullHandOver =
        " is not a looping animation but it has a null transition target";
    if (EndsWith(text, " animation does not exist") && text.compare(0, blocking.size(), blocking)) {
        const std::string missing = " animation does not exist";
        MissingAnimation(node, text.substr(0, text.size() - missing.size()), &notes);
    } else if (text.compare(0, blocking.size(), blocking) == 0 && EndsWith(text, nullHandOver)) {
        NullHandOver(
            tree, node,
            text.substr(blocking.size(), text.size() - blocking.size() - nullHandOver.size()),
            &notes);
    } else if (text == blocking + "trying to run PopTransform while transform stack is empty") {
        PopWithNothingPushed(tree, node, &notes);
    } else if (text == "Direct2D returned error: -2147024809") {
        // Invalid argument: of what a document holds, only an extend mode can give it.
        for (const ReadRecord::Forgiveness& f : tree.Record().forgiven) {
            if (f.kind == ReadRecord::Forgiven::kBadExtendMode) {
                notes.push_back(Diagnostic::Note(
                    f.place.file, f.place.line,
                    "extendMode " + std::to_string(f.number) + " is none of 0, 1, 2"));
            }
        }
    } else if (text.compare(0, 25, "Direct2D returned error: ") == 0) {
        BrokenImages(tree, imagesNoted, &notes);
    }
    return notes;
}

}  // namespace ZEL
