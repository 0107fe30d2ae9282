#include "SceneUndo.h"

#include "RefNode.h"
#include "RefScene.h"

namespace qvn::host {

NodePresenceUndo::NodePresenceUndo(RefScene& scene, RefNode* made) : scene(scene), node(made) {}

NodePresenceUndo::NodePresenceUndo(RefScene& scene, std::unique_ptr<RefNode> removed,
                                   const NodePlace& place)
    : scene(scene), node(removed.get()), kept(std::move(removed)), place(place) {}

NodePresenceUndo::~NodePresenceUndo() = default;

void NodePresenceUndo::toggle() {
    if (kept != nullptr)
        scene.putBack(std::move(kept), place);
    else
        kept = scene.takeOut(node, place);
}

void NodePresenceUndo::restore(bool isUndo) {
    if (isUndo)
        toggle();
}

void NodePresenceUndo::redo() { toggle(); }

void NodeLinkUndo::restore(bool isUndo) {
    if (!isUndo || undone)
        return;
    parent->insertChild(child, position);
    undone = true;
}

void NodeLinkUndo::redo() {
    if (!undone)
        return;
    parent->removeChild(child);
    undone = false;
}

void NodeOwnerUndo::restore(bool isUndo) {
    if (!isUndo || undone)
        return;
    node->setOwner(owner);
    undone = true;
}

void NodeOwnerUndo::redo() {
    if (!undone)
        return;
    node->setOwner(nullptr);
    undone = false;
}

} // namespace qvn::host
