// Variables nothing writes, writes nothing reads, and writes into child documents that the
// child never reads.
#include <set>

#include "Check/Lint.h"
#include "Check/Similar.h"
#include "Core/ChildCommands.h"
#include "Core/Scenimator.h"

namespace ZEL {

namespace {

const char kLostWrite[] = "trying to write non-existing variable";

// Calls visit(controller, place) for every controller of the document, with the place of
// the nearest one the reader noted (the two a Linear2d{ } adds have none of their own).
template <typename Visit>
void ForEachPlacedController(const DocumentTree& tree, const DocumentTree::Node& node,
                             const ControllerBase& controller, const ReadPlace& outer,
                             Visit visit) {
    const auto& places = tree.Record().places;
    auto found = places.find(&controller);
    const ReadPlace& place = found == places.end() ? outer : found->second;
    visit(controller, place);
    for (const auto& child : controller.Children()) {
        ForEachPlacedController(tree, node, *child, place, visit);
    }
}

void ReadButNeverWritten(const DocumentTree& tree, const DocumentTree::Node& node,
                         const std::set<std::string>& written, std::vector<Diagnostic>* out) {
    const std::vector<std::string> candidates(written.begin(), written.end());
    for (const auto& variable : node.document->Variables()) {
        if (written.count(variable.first)) {
            continue;
        }
        auto first = tree.Record().variables.find({node.document, variable.first});
        const ReadPlace place =
            first == tree.Record().variables.end() ? ReadPlace{node.file, 0} : first->second;
        Diagnostic warning = Diagnostic::Warning(
            place.file, place.line,
            "variable \"" + variable.first + "\" is read but never written: it stays 0");
        const std::string closest = Closest(variable.first, candidates);
        if (!closest.empty()) {
            warning.With(
                Diagnostic::Note(place.file, place.line, "did you mean \"" + closest + "\"?"));
        }
        out->push_back(std::move(warning));
    }
}

}  // namespace

void LintVariables(const DocumentTree& tree, std::vector<Diagnostic>* out,
                   ExplainedTexts* explained) {
    for (const DocumentTree::Node& node : tree.Nodes()) {
        const Scenimator& doc = *node.document;
        std::set<std::string> written = node.writtenByParents;
        for (const auto& entry : doc.Controllers()) {
            ForEachPlacedController(
                tree, node, *entry.second, tree.PlaceOf(entry.second.get(), node),
                [&](const ControllerBase& controller, const ReadPlace& place) {
                    const std::string& target = controller.Head().target;
                    if (target.empty() || target == "null") {
                        return;  // a trigger, or a controller that writes nothing
                    }
                    written.insert(target);
                    if (!doc.Variables().count(target)) {
                        out->push_back(Diagnostic::Warning(
                            place.file, place.line,
                            "a controller writes \"" + target + "\", which nothing reads"));
                    }
                });
        }
        ReadButNeverWritten(tree, node, written, out);

        // Writes into children: SetZelVar{ } here, arguments in the reader's own record.
        for (const auto& entry : doc.Executables()) {
            ForEachCommand(*entry.second, [&](const ExecutableBase& command) {
                const auto* set = dynamic_cast<const SetZelVarCommand*>(&command);
                const DocumentTree::Node* child = set ? tree.Find(set->Child().get()) : nullptr;
                if (!child || child->document->Variables().count(set->Variable())) {
                    return;
                }
                const ReadPlace place = tree.PlaceOf(set, node);
                out->push_back(Diagnostic::Warning(
                    place.file, place.line,
                    "SetZelVar{ } sets \"" + set->Variable() + "\", which the child document \"" +
                        tree.NameOf(set->Child().get(), node) + "\" never reads"));
                explained->insert({child->document, kLostWrite});
            });
        }
        for (const auto& child : doc.ChildZels()) {
            auto arguments = tree.Record().arguments.find(child.second.get());
            if (arguments == tree.Record().arguments.end()) {
                continue;
            }
            for (const std::string& name : arguments->second) {
                const DocumentTree::Node* childNode = tree.Find(child.second.get());
                if (childNode && !childNode->document->Variables().count(name)) {
                    explained->insert({childNode->document, kLostWrite});
                }
            }
        }
    }
}

}  // namespace ZEL
