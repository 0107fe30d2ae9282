#include "RefScene.h"

#include "RefUndoStack.h"

#include <algorithm>

namespace qvn::host {

bool RefScene::holding() const { return undo != nullptr && undo->isHolding(); }

bool RefScene::record(mvk::qvn::CUndo* made) {
    if (!holding()) {
        made->release();
        return false;
    }
    undo->put(made);
    return true;
}

RefNode* RefScene::createNode(const std::string& name, mvk::qvn::CInterface* owner) {
    owned.push_back(std::make_unique<RefNode>(*this, name, owner));
    RefNode* node = owned.back().get();
    if (holding())
        record(new NodePresenceUndo(*this, node));
    return node;
}

void RefScene::deleteNode(RefNode* node, bool withNodes) {
    const auto found = std::find_if(owned.begin(), owned.end(),
                                    [node](const auto& entry) { return entry.get() == node; });
    if (found == owned.end())
        return;
    if (!withNodes) {
        if (node->owner() == nullptr)
            return;
        if (holding())
            record(new NodeOwnerUndo(node, node->owner()));
        node->setOwner(nullptr);
        return;
    }
    while (node->getChildCount() > 0)
        deleteNode(static_cast<RefNode*>(node->getChild(node->getChildCount() - 1)), true);
    deletedNames.push_back(node->getName());
    NodePlace place;
    std::unique_ptr<RefNode> removed = takeOut(node, place);
    // Outside an operation nothing can bring the node back, so it goes at once.
    if (holding())
        record(new NodePresenceUndo(*this, std::move(removed), place));
}

void RefScene::unlink(RefNode* parent, RefNode* child) {
    const int position = parent->removeChild(child);
    if (position >= 0 && holding())
        record(new NodeLinkUndo(parent, child, static_cast<size_t>(position)));
}

std::unique_ptr<RefNode> RefScene::takeOut(RefNode* node, NodePlace& place) {
    const auto found = std::find_if(owned.begin(), owned.end(),
                                    [node](const auto& entry) { return entry.get() == node; });
    if (found == owned.end())
        return nullptr;
    while (node->getChildCount() > 0)
        node->removeChild(static_cast<RefNode*>(node->getChild(node->getChildCount() - 1)));
    place.order = static_cast<size_t>(found - owned.begin());
    place.parent = node->parentNode();
    place.position = 0;
    if (place.parent != nullptr)
        place.position = static_cast<size_t>(std::max(0, place.parent->removeChild(node)));
    std::unique_ptr<RefNode> taken = std::move(*found);
    owned.erase(found);
    return taken;
}

void RefScene::putBack(std::unique_ptr<RefNode> node, const NodePlace& place) {
    if (node == nullptr)
        return;
    RefNode* back = node.get();
    owned.insert(owned.begin() + static_cast<std::ptrdiff_t>(std::min(place.order, owned.size())),
                 std::move(node));
    if (place.parent != nullptr)
        place.parent->insertChild(back, place.position);
}

RefNode* RefScene::find(const std::string& name) const {
    for (const auto& node : owned)
        if (node->getName() == name)
            return node.get();
    return nullptr;
}

std::vector<RefNode*> RefScene::nodes() const {
    std::vector<RefNode*> list;
    for (const auto& node : owned)
        list.push_back(node.get());
    return list;
}

std::vector<RefNode*> RefScene::nodesOf(const mvk::qvn::CInterface* owner) const {
    std::vector<RefNode*> list;
    for (const auto& node : owned)
        if (owner != nullptr && node->owner() == owner)
            list.push_back(node.get());
    return list;
}

} // namespace qvn::host
