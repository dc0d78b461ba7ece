// Animations nothing plays, hand-overs and triggers to missing animations, and controllers
// whose window never opens.
#include <deque>
#include <set>

#include "Check/AnimationChain.h"
#include "Check/Lint.h"
#include "Check/Similar.h"
#include "Core/Animation.h"
#include "Core/Scenimator.h"
#include "Core/Trigger.h"

namespace ZEL {

namespace {

std::vector<std::string> AnimationNames(const Scenimator& document) {
    std::vector<std::string> names;
    for (const auto& entry : document.Animations()) {
        names.push_back(entry.first);
    }
    return names;
}

// " (did you mean "x"?)" when name is most likely a misspelling of one of names.
std::string Suggestion(const std::string& name, const std::vector<std::string>& names) {
    const std::string closest = Closest(name, names);
    return closest.empty() ? "" : " (did you mean \"" + closest + "\"?)";
}

std::string WhyNeverEnds(const Animation& animation) {
    if (!animation.m_Controller) {
        return "it has no controller";
    }
    if (animation.m_Controller->Head().loops) {
        return "its controller loops";
    }
    return "its controller's window never closes";
}

// MainAnim, what parents' triggers play, and every animation an ending animation among
// those hands over to.
std::set<std::string> PlayedAnimations(const DocumentTree::Node& node) {
    const auto& animations = node.document->Animations();
    std::set<std::string> played;
    std::deque<std::string> queue(node.playedByParents.begin(), node.playedByParents.end());
    queue.push_back("MainAnim");
    while (!queue.empty()) {
        const std::string name = queue.front();
        queue.pop_front();
        auto found = animations.find(name);
        if (found == animations.end() || !played.insert(name).second) {
            continue;
        }
        if (PlayLength(*found->second)) {
            queue.push_back(found->second->m_TransitionTarget);
        }
    }
    return played;
}

void NeverPlayed(const DocumentTree& tree, const DocumentTree::Node& node,
                 std::vector<Diagnostic>* out) {
    const auto& animations = node.document->Animations();
    const std::set<std::string> played = PlayedAnimations(node);
    for (const auto& entry : animations) {
        if (played.count(entry.first)) {
            continue;
        }
        std::string why = "nothing hands over to it";
        if (node.isChild) {
            why += " and no trigger plays it";
        }
        // Say why what hands over to it does not: one that plays and never ends first.
        for (const auto& other : animations) {
            if (other.second->m_TransitionTarget != entry.first || other.first == entry.first) {
                continue;
            }
            if (played.count(other.first)) {
                why = "\"" + other.first + "\" hands over to it but never ends (" +
                      WhyNeverEnds(*other.second) + ")";
                break;
            }
            why = "only \"" + other.first + "\" hands over to it, and that is never played";
        }
        const ReadPlace place = tree.PlaceOf(entry.second.get(), node);
        out->push_back(Diagnostic::Warning(
            place.file, place.line, "animation \"" + entry.first + "\" is never played: " + why));
    }
}

void MissingAnimations(const DocumentTree& tree, const DocumentTree::Node& node,
                       std::vector<Diagnostic>* out, ExplainedTexts* explained) {
    const auto& animations = node.document->Animations();
    const std::vector<std::string> names = AnimationNames(*node.document);
    if (node.isChild && !animations.count("MainAnim")) {
        out->push_back(Diagnostic::Warning(
            node.file, 0,
            "this child document has no animation \"MainAnim\", so it draws nothing" +
                Suggestion("MainAnim", names)));
        explained->insert({node.document, "MainAnim animation does not exist"});
    }
    for (const auto& entry : animations) {
        const std::string& target = entry.second->m_TransitionTarget;
        if (target == "null" || animations.count(target) || !PlayLength(*entry.second)) {
            continue;
        }
        const ReadPlace place = tree.PlaceOf(entry.second.get(), node);
        out->push_back(
            Diagnostic::Warning(place.file, place.line,
                                "animation \"" + entry.first + "\" hands over to \"" + target +
                                    "\", which does not exist: it stays on its last frame" +
                                    Suggestion(target, names)));
        explained->insert({node.document, target + " animation does not exist"});
    }
    for (const auto& entry : node.document->Controllers()) {
        ForEachController(*entry.second, [&](const ControllerBase& controller) {
            const auto* trigger = dynamic_cast<const Trigger*>(&controller);
            const DocumentTree::Node* child =
                trigger ? tree.Find(trigger->TargetZel().get()) : nullptr;
            if (!child || child->document->Animations().count(trigger->AnimationName())) {
                return;
            }
            const ReadPlace place = tree.PlaceOf(trigger, node);
            out->push_back(Diagnostic::Warning(
                place.file, place.line,
                "the trigger plays \"" + trigger->AnimationName() +
                    "\", which the child document \"" +
                    tree.NameOf(trigger->TargetZel().get(), node) + "\" does not have" +
                    Suggestion(trigger->AnimationName(), AnimationNames(*child->document))));
            explained->insert(
                {child->document, trigger->AnimationName() + " animation does not exist"});
        });
    }
}

// A controller runs while begin <= ms since its start < end; the clock starts at 0.
void EmptyWindows(const DocumentTree& tree, const DocumentTree::Node& node,
                  std::vector<Diagnostic>* out) {
    for (const auto& entry : node.document->Controllers()) {
        ForEachController(*entry.second, [&](const ControllerBase& controller) {
            const ControllerHead& head = controller.Head();
            if (dynamic_cast<const Trigger*>(&controller) ||
                (head.begin < head.end && head.end > 0)) {
                return;
            }
            const ReadPlace place = tree.PlaceOf(&controller, node);
            if (place.line == 0) {
                return;  // one of a Linear2d{ }'s own two: the block's warning covers it
            }
            out->push_back(Diagnostic::Warning(place.file, place.line,
                                               "this controller's window (begin " +
                                                   std::to_string(head.begin) + ", end " +
                                                   std::to_string(head.end) +
                                                   ") never opens: it never writes and never ends, "
                                                   "and its children run only at its "
                                                   "start"));
        });
    }
}

}  // namespace

void LintAnimations(const DocumentTree& tree, std::vector<Diagnostic>* out,
                    ExplainedTexts* explained) {
    for (const DocumentTree::Node& node : tree.Nodes()) {
        NeverPlayed(tree, node, out);
        MissingAnimations(tree, node, out, explained);
        EmptyWindows(tree, node, out);
    }
}

}  // namespace ZEL
