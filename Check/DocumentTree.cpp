#include "Check/DocumentTree.h"

#include "Core/Animation.h"
#include "Core/BrushBase.h"
#include "Core/ChildCommands.h"
#include "Core/GeometryBase.h"
#include "Core/Image.h"
#include "Core/Scenimator.h"
#include "Core/Trigger.h"

namespace ZEL {

namespace {

template <typename Table>
void NameAll(const Table& table, std::map<const void*, std::string>* names) {
    for (const auto& entry : table) {
        names->emplace(entry.second.get(), entry.first);
    }
}

}  // namespace

DocumentTree::DocumentTree(const Scenimator& top, const ReadRecord& record) : m_Record(record) {
    Add(&top, false);
    // After every node exists: a parent's commands name child nodes.
    for (size_t i = 0; i < m_Nodes.size(); ++i) {
        NoteParentWrites(i);
    }
}

void DocumentTree::Add(const Scenimator* document, bool isChild) {
    if (Find(document)) {
        return;
    }
    Node node;
    node.document = document;
    auto file = m_Record.files.find(document);
    node.file = file == m_Record.files.end() ? std::string() : file->second;
    node.isChild = isChild;
    NameAll(document->Geometries(), &node.names);
    NameAll(document->Brushes(), &node.names);
    NameAll(document->Bitmaps(), &node.names);
    NameAll(document->Transforms(), &node.names);
    NameAll(document->ChildZels(), &node.names);
    NameAll(document->Executables(), &node.names);
    NameAll(document->Controllers(), &node.names);
    NameAll(document->Animations(), &node.names);
    m_Nodes.push_back(std::move(node));
    for (const auto& child : document->ChildZels()) {
        if (const auto* loaded = dynamic_cast<const Scenimator*>(child.second.get())) {
            Add(loaded, true);
        }
    }
}

const DocumentTree::Node* DocumentTree::Find(const IScenimator* document) const {
    for (const Node& node : m_Nodes) {
        if (node.document == document) {
            return &node;
        }
    }
    return nullptr;
}

DocumentTree::Node* DocumentTree::FindNode(const IScenimator* document) {
    for (Node& node : m_Nodes) {
        if (node.document == document) {
            return &node;
        }
    }
    return nullptr;
}

// What the document at index parent writes into its children and plays in them.
void DocumentTree::NoteParentWrites(size_t index) {
    const Scenimator& parent = *m_Nodes[index].document;
    const auto childNode = [this](const IScenimator* child) { return FindNode(child); };
    for (const auto& child : parent.ChildZels()) {
        Node* node = childNode(child.second.get());
        auto arguments = m_Record.arguments.find(child.second.get());
        if (node && arguments != m_Record.arguments.end()) {
            node->writtenByParents.insert(arguments->second.begin(), arguments->second.end());
        }
    }
    for (const auto& entry : parent.Executables()) {
        ForEachCommand(*entry.second, [&](const ExecutableBase& command) {
            if (const auto* set = dynamic_cast<const SetZelVarCommand*>(&command)) {
                if (Node* node = childNode(set->Child().get())) {
                    node->writtenByParents.insert(set->Variable());
                }
            }
        });
    }
    for (const auto& entry : parent.Controllers()) {
        ForEachController(*entry.second, [&](const ControllerBase& controller) {
            if (const auto* trigger = dynamic_cast<const Trigger*>(&controller)) {
                if (Node* node = childNode(trigger->TargetZel().get())) {
                    node->playedByParents.insert(trigger->AnimationName());
                }
            }
        });
    }
}

ReadPlace DocumentTree::PlaceOf(const void* object, const Node& node) const {
    auto found = m_Record.places.find(object);
    return found == m_Record.places.end() ? ReadPlace{node.file, 0} : found->second;
}

std::string DocumentTree::NameOf(const void* object, const Node& node) const {
    auto found = node.names.find(object);
    return found == node.names.end() ? std::string() : found->second;
}

}  // namespace ZEL
