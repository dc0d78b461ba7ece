// Names declared and never used.
#include <set>

#include "Check/Lint.h"
#include "Core/Animation.h"
#include "Core/ChildCommands.h"
#include "Core/CombinedGeometry.h"
#include "Core/DrawCommands.h"
#include "Core/Scenimator.h"
#include "Core/TransformCommands.h"
#include "Core/Trigger.h"

namespace ZEL {

namespace {

// Every object some other object of the document names.
std::set<const void*> UsedObjects(const Scenimator& document) {
    std::set<const void*> used;
    for (const auto& entry : document.Geometries()) {
        if (const auto* combined = dynamic_cast<const CombinedGeometry*>(entry.second.get())) {
            used.insert(combined->First().get());
            used.insert(combined->Second().get());
        }
    }
    for (const auto& entry : document.Executables()) {
        ForEachCommand(*entry.second, [&](const ExecutableBase& command) {
            if (const auto* draw = dynamic_cast<const DrawCommand*>(&command)) {
                used.insert(draw->m_Geometry.get());
                used.insert(draw->m_Brush.get());
            }
            if (const auto* image = dynamic_cast<const DrawImageCommand*>(&command)) {
                used.insert(image->Source().get());
            } else if (const auto* push = dynamic_cast<const PushTransformCommand*>(&command)) {
                used.insert(push->Transform().get());
            } else if (const auto* call = dynamic_cast<const CallCommand*>(&command)) {
                used.insert(call->Target().get());
            } else if (const auto* render = dynamic_cast<const RenderZelCommand*>(&command)) {
                used.insert(render->Child().get());
            } else if (const auto* set = dynamic_cast<const SetZelVarCommand*>(&command)) {
                used.insert(set->Child().get());
            }
        });
    }
    for (const auto& entry : document.Controllers()) {
        ForEachController(*entry.second, [&](const ControllerBase& controller) {
            if (const auto* trigger = dynamic_cast<const Trigger*>(&controller)) {
                used.insert(trigger->TargetZel().get());
            }
        });
    }
    for (const auto& entry : document.Animations()) {
        used.insert(entry.second->m_RenderFunction.get());
        used.insert(entry.second->m_Controller.get());
    }
    return used;
}

template <typename Table, typename Skip>
void ReportUnused(const DocumentTree& tree, const DocumentTree::Node& node, const Table& table,
                  const std::set<const void*>& used, const char* kind, const char* phrase,
                  Skip skip, std::vector<Diagnostic>* out) {
    for (const auto& entry : table) {
        if (used.count(entry.second.get()) || skip(*entry.second)) {
            continue;
        }
        const ReadPlace place = tree.PlaceOf(entry.second.get(), node);
        out->push_back(Diagnostic::Warning(
            place.file, place.line, std::string(kind) + " \"" + entry.first + "\" " + phrase));
    }
}

}  // namespace

void LintNames(const DocumentTree& tree, std::vector<Diagnostic>* out) {
    const auto none = [](const auto&) { return false; };
    for (const DocumentTree::Node& node : tree.Nodes()) {
        const Scenimator& doc = *node.document;
        const std::set<const void*> used = UsedObjects(doc);
        // A geometry marked for hit testing takes part in hit tests undrawn.
        ReportUnused(
            tree, node, doc.Geometries(), used, "geometry", "is never drawn or combined",
            [](const GeometryBase& g) { return g.m_HitTest; }, out);
        ReportUnused(tree, node, doc.Brushes(), used, "brush", "is never used", none, out);
        ReportUnused(tree, node, doc.Bitmaps(), used, "image", "is never drawn", none, out);
        ReportUnused(tree, node, doc.Transforms(), used, "transform", "is never pushed", none, out);
        ReportUnused(tree, node, doc.ChildZels(), used, "child document",
                     "is never drawn, set or triggered", none, out);
        ReportUnused(tree, node, doc.Executables(), used, "executable",
                     "is never called and draws no animation", none, out);
        ReportUnused(tree, node, doc.Controllers(), used, "controller", "drives no animation", none,
                     out);
    }
}

}  // namespace ZEL
