#pragma once
#include <map>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "Core/ReadRecord.h"

namespace ZEL {

class ControllerBase;
class ExecutableBase;
class IScenimator;
class Scenimator;

// The documents of one load as a check sees them: each with its file, the names of its
// objects, and what the documents that load it write into it and play in it.
class DocumentTree {
  public:
    struct Node {
        const Scenimator* document = nullptr;
        std::string file;
        bool isChild = false;
        std::set<std::string> writtenByParents;    // arguments and SetZelVar{ } names
        std::set<std::string> playedByParents;     // animations triggers play in it
        std::map<const void*, std::string> names;  // every named object's table name
    };

    DocumentTree(const Scenimator& top, const ReadRecord& record);

    const std::vector<Node>& Nodes() const { return m_Nodes; }
    const Node* Find(const IScenimator* document) const;
    const ReadRecord& Record() const { return m_Record; }
    // Where the reader read object, or the node's file without a line.
    ReadPlace PlaceOf(const void* object, const Node& node) const;
    // The table name of a named object of node, or "".
    std::string NameOf(const void* object, const Node& node) const;

  private:
    void Add(const Scenimator* document, bool isChild);
    void NoteParentWrites(size_t index);
    Node* FindNode(const IScenimator* document);

    const ReadRecord& m_Record;
    std::vector<Node> m_Nodes;
};

// Runtime texts a warning already explains, per document: the run does not repeat them.
using ExplainedTexts = std::set<std::pair<const IScenimator*, std::string>>;

// Calls visit(command) for executable and, inside procedures written in place, for every
// command they hold (a Call{ } is visited, not followed).
template <typename Visit>
void ForEachCommand(const ExecutableBase& executable, Visit visit);
// Calls visit(controller) for controller and all its children, depth first.
template <typename Visit>
void ForEachController(const ControllerBase& controller, Visit visit);

}  // namespace ZEL

#include "Core/ControllerBase.h"
#include "Core/Procedure.h"

namespace ZEL {

template <typename Visit>
void ForEachCommand(const ExecutableBase& executable, Visit visit) {
    visit(executable);
    if (const auto* procedure = dynamic_cast<const Procedure*>(&executable)) {
        for (const auto& command : procedure->Commands()) {
            ForEachCommand(*command, visit);
        }
    }
}

template <typename Visit>
void ForEachController(const ControllerBase& controller, Visit visit) {
    visit(controller);
    for (const auto& child : controller.Children()) {
        ForEachController(*child, visit);
    }
}

}  // namespace ZEL
