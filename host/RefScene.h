#pragma once
// The reference host's scene: it owns every node. Structural changes made while the undo stack
// holds an operation (nodes made, removed, unlinked or let go of) are part of its undo step.
#include "RefNode.h"
#include "SceneUndo.h"

#include <memory>
#include <vector>

namespace qvn::host {

class RefUndoStack;

class RefScene {
public:
    // Key changes made while `stack` holds an operation become part of its undo step.
    void setUndoStack(RefUndoStack* stack) { undo = stack; }
    RefUndoStack* undoStack() const { return undo; }
    RefNode* createNode(const std::string& name, mvk::qvn::CInterface* owner = nullptr);
    // With `withNodes` the node leaves the scene, with whatever children it still has. Without,
    // only its tool lets go of it: the node stays, with its keys and children, and no longer
    // belongs to any tool (what unplugging a tool does to its nodes).
    void deleteNode(RefNode* node, bool withNodes);
    // Unlinks `child` from `parent`; the child stays in the scene as a root.
    void unlink(RefNode* parent, RefNode* child);
    RefNode* find(const std::string& name) const;
    std::vector<RefNode*> nodes() const;
    std::vector<RefNode*> nodesOf(const mvk::qvn::CInterface* owner) const;
    int count() const { return static_cast<int>(owned.size()); }
    int deletedCount() const { return static_cast<int>(deletedNames.size()); }
    // Names of the deleted nodes, in the order they went.
    const std::vector<std::string>& deletions() const { return deletedNames; }

    // For the undo records: takes a node out of the scene (children it still has become roots)
    // and says where it was; puts one back at its place.
    std::unique_ptr<RefNode> takeOut(RefNode* node, NodePlace& place);
    void putBack(std::unique_ptr<RefNode> node, const NodePlace& place);

private:
    // Hands `record` to the operation the undo stack holds; false (and the record released)
    // when none is open.
    bool record(mvk::qvn::CUndo* made);
    bool holding() const;

    std::vector<std::unique_ptr<RefNode>> owned;
    std::vector<std::string> deletedNames;
    RefUndoStack* undo = nullptr;
};

} // namespace qvn::host
