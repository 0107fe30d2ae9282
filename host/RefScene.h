#pragma once
// The reference host's scene: it owns every node.
#include "RefNode.h"

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
    // Removes a node; its children go with it, or are unlinked into roots.
    void deleteNode(RefNode* node, bool withChildren);
    RefNode* find(const std::string& name) const;
    std::vector<RefNode*> nodes() const;
    std::vector<RefNode*> nodesOf(const mvk::qvn::CInterface* owner) const;
    int count() const { return static_cast<int>(owned.size()); }
    int deletedCount() const { return static_cast<int>(deletedNames.size()); }
    // Names of the deleted nodes, in the order they went.
    const std::vector<std::string>& deletions() const { return deletedNames; }

private:
    std::vector<std::unique_ptr<RefNode>> owned;
    std::vector<std::string> deletedNames;
    RefUndoStack* undo = nullptr;
};

} // namespace qvn::host
