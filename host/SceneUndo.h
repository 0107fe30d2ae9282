#pragma once
// Undo records of the reference host's scene structure. A node that leaves the scene inside an
// operation is not destroyed: its record keeps it, with its keys, its owner and its place (scene
// order, parent and position among the parent's children), and undo puts it back exactly where
// it was; the record destroys it only when the host drops the step. Undo steps run last first,
// so every node a record names is back in the scene when the record is restored.
#include "sdk/CUndo.h"

#include <memory>

namespace mvk::qvn {
class CInterface;
}

namespace qvn::host {

class RefNode;
class RefScene;

// Where a node sits in the scene: its index in scene order, its parent and its position there.
struct NodePlace {
    size_t order = 0;
    RefNode* parent = nullptr;
    size_t position = 0;
};

// A node made (present after the operation) or removed (absent after it).
class NodePresenceUndo : public mvk::qvn::CUndo {
public:
    // A node just made by the operation.
    NodePresenceUndo(RefScene& scene, RefNode* made);
    // A node the operation took out of the scene; the record keeps it.
    NodePresenceUndo(RefScene& scene, std::unique_ptr<RefNode> removed, const NodePlace& place);
    ~NodePresenceUndo() override;

    void restore(bool isUndo) override;
    void redo() override;

private:
    void toggle();

    RefScene& scene;
    RefNode* node;
    // Holds the node while it is out of the scene.
    std::unique_ptr<RefNode> kept;
    NodePlace place;
};

// A child unlinked from its parent; undo links it again at its old position.
class NodeLinkUndo : public mvk::qvn::CUndo {
public:
    NodeLinkUndo(RefNode* parent, RefNode* child, size_t position)
        : parent(parent), child(child), position(position) {}

    void restore(bool isUndo) override;
    void redo() override;

private:
    RefNode* parent;
    RefNode* child;
    size_t position;
    bool undone = false;
};

// A node its tool let go of (unplugged): it stays in the scene with its keys; undo gives it
// back to the tool.
class NodeOwnerUndo : public mvk::qvn::CUndo {
public:
    NodeOwnerUndo(RefNode* node, mvk::qvn::CInterface* owner) : node(node), owner(owner) {}

    void restore(bool isUndo) override;
    void redo() override;

private:
    RefNode* node;
    mvk::qvn::CInterface* owner;
    bool undone = false;
};

} // namespace qvn::host
