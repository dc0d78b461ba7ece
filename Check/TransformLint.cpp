// Pushes and pops that do not balance, and hit-test geometries drawn under a transform the
// hit test does not know.
#include <map>
#include <set>

#include "Check/Lint.h"
#include "Core/Animation.h"
#include "Core/DrawCommands.h"
#include "Core/Scenimator.h"
#include "Core/TransformCommands.h"

namespace ZEL {

namespace {

// What running an executable does to the depth of the transform stack.
struct Balance {
    int net = 0;     // pushes minus pops
    int lowest = 0;  // the lowest depth on the way, from 0 at the start
};

Balance BalanceOf(const ExecutableBase& executable,
                  std::map<const ExecutableBase*, Balance>* known) {
    auto found = known->find(&executable);
    if (found != known->end()) {
        return found->second;
    }
    Balance balance;
    ForEachCommand(executable, [&](const ExecutableBase& command) {
        if (dynamic_cast<const PushTransformCommand*>(&command)) {
            ++balance.net;
        } else if (dynamic_cast<const PopTransformCommand*>(&command)) {
            balance.lowest = std::min(balance.lowest, --balance.net);
        } else if (const auto* call = dynamic_cast<const CallCommand*>(&command)) {
            const Balance called = BalanceOf(*call->Target(), known);
            balance.lowest = std::min(balance.lowest, balance.net + called.lowest);
            balance.net += called.net;
        }
    });
    (*known)[&executable] = balance;
    return balance;
}

std::string Plural(int n, const char* one, const char* many) {
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

void UnbalancedExecutables(const DocumentTree& tree, const DocumentTree::Node& node,
                           std::vector<Diagnostic>* out) {
    std::map<const ExecutableBase*, Balance> known;
    for (const auto& entry : node.document->Executables()) {
        int depth = 0;
        bool reported = false;
        ForEachCommand(*entry.second, [&](const ExecutableBase& command) {
            int lowest = depth;
            if (dynamic_cast<const PopTransformCommand*>(&command)) {
                lowest = --depth;
            } else if (dynamic_cast<const PushTransformCommand*>(&command)) {
                ++depth;
            } else if (const auto* call = dynamic_cast<const CallCommand*>(&command)) {
                const Balance called = BalanceOf(*call->Target(), &known);
                lowest = depth + called.lowest;
                depth += called.net;
            }
            if (lowest < 0 && !reported) {
                reported = true;
                const ReadPlace place = tree.PlaceOf(&command, node);
                const char* what = dynamic_cast<const CallCommand*>(&command)
                                       ? "this Call{ }"
                                       : "this PopTransform{ }";
                out->push_back(Diagnostic::Warning(
                    place.file, place.line,
                    std::string(what) + " pops a transform \"" + entry.first +
                        "\" has not pushed: run at the base of a frame, it fails"));
            }
        });
        if (!reported && depth > 0) {
            const ReadPlace place = tree.PlaceOf(entry.second.get(), node);
            out->push_back(Diagnostic::Warning(place.file, place.line,
                                               "\"" + entry.first + "\" pushes " +
                                                   Plural(depth, "transform", "transforms") +
                                                   " more than it pops"));
        }
    }
}

using Stack = std::vector<const TransformResource*>;

// One frame of an animation as far as transforms go: which hit-test geometries are drawn
// under which pushes, and which pushes the last capture saw.
class HitTestRun {
  public:
    struct Draw {
        const DrawCommand* command;
        Stack stack;
    };

    void Run(const ExecutableBase& executable) {
        if (const auto* procedure = dynamic_cast<const Procedure*>(&executable)) {
            for (const auto& command : procedure->Commands()) {
                Run(*command);
            }
        } else if (const auto* push = dynamic_cast<const PushTransformCommand*>(&executable)) {
            m_Stack.push_back(push->Transform().get());
        } else if (dynamic_cast<const PopTransformCommand*>(&executable)) {
            if (!m_Stack.empty()) {
                m_Stack.pop_back();
            }
        } else if (const auto* call = dynamic_cast<const CallCommand*>(&executable)) {
            Run(*call->Target());
        } else if (dynamic_cast<const CaptureHitTestTransformCommand*>(&executable)) {
            m_Captured = m_Stack;
            m_EverCaptured = true;
        } else if (const auto* draw = dynamic_cast<const DrawCommand*>(&executable)) {
            if (draw->m_Geometry && draw->m_Geometry->m_HitTest) {
                m_Draws.push_back({draw, m_Stack});
            }
        }
    }
    const std::vector<Draw>& Draws() const { return m_Draws; }
    const Stack& Captured() const { return m_Captured; }
    bool EverCaptured() const { return m_EverCaptured; }

  private:
    Stack m_Stack;
    Stack m_Captured;  // the identity until a capture
    bool m_EverCaptured = false;
    std::vector<Draw> m_Draws;
};

std::string Describe(const Stack& stack, const DocumentTree& tree, const DocumentTree::Node& node) {
    if (stack.empty()) {
        return "no transform";
    }
    std::string text;
    for (const TransformResource* transform : stack) {
        text += (text.empty() ? "PushTransform{ " : ", PushTransform{ ") +
                tree.NameOf(transform, node) + " }";
    }
    return text;
}

void HitTestsMissed(const DocumentTree& tree, const DocumentTree::Node& node,
                    std::vector<Diagnostic>* out) {
    std::set<const DrawCommand*> reported;
    for (const auto& entry : node.document->Animations()) {
        if (!entry.second->m_RenderFunction) {
            continue;
        }
        HitTestRun run;
        run.Run(*entry.second->m_RenderFunction);
        for (const HitTestRun::Draw& draw : run.Draws()) {
            if (draw.stack == run.Captured() || !reported.insert(draw.command).second) {
                continue;
            }
            const std::string name = tree.NameOf(draw.command->m_Geometry.get(), node);
            std::string text = "geometry \"" + name +
                               "\" is marked for hit testing and drawn under " +
                               Describe(draw.stack, tree, node) + ", but ";
            text += run.EverCaptured()
                        ? "the hit-test transform is captured under " +
                              Describe(run.Captured(), tree, node)
                        : "no CaptureHitTestTransform{ } records it: hit tests look for it "
                          "untransformed";
            const ReadPlace place = tree.PlaceOf(draw.command, node);
            out->push_back(Diagnostic::Warning(place.file, place.line, text));
        }
    }
}

// Hit tests ask the top document, which tests only its own geometries.
void HitTestsInChild(const DocumentTree& tree, const DocumentTree::Node& node,
                     std::vector<Diagnostic>* out) {
    for (const auto& entry : node.document->Geometries()) {
        if (entry.second->m_HitTest) {
            const ReadPlace place = tree.PlaceOf(entry.second.get(), node);
            out->push_back(Diagnostic::Warning(
                place.file, place.line,
                "geometry \"" + entry.first +
                    "\" is marked for hit testing, but hit tests reach only the geometries of "
                    "the document a player opens, never those of a child document"));
        }
    }
}

}  // namespace

void LintTransforms(const DocumentTree& tree, std::vector<Diagnostic>* out) {
    for (const DocumentTree::Node& node : tree.Nodes()) {
        UnbalancedExecutables(tree, node, out);
        if (node.isChild) {
            HitTestsInChild(tree, node, out);
        } else {
            HitTestsMissed(tree, node, out);
        }
    }
}

}  // namespace ZEL
