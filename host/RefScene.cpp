#include "RefScene.h"

#include <algorithm>

namespace qvn::host {

RefNode* RefScene::createNode(const std::string& name, mvk::qvn::CInterface* owner) {
    owned.push_back(std::make_unique<RefNode>(*this, name, owner));
    return owned.back().get();
}

void RefScene::deleteNode(RefNode* node, bool withChildren) {
    const auto found = std::find_if(owned.begin(), owned.end(),
                                    [node](const auto& entry) { return entry.get() == node; });
    if (found == owned.end())
        return;
    while (node->getChildCount() > 0) {
        auto* child = static_cast<RefNode*>(node->getChild(node->getChildCount() - 1));
        node->unlinkChild(child);
        if (withChildren)
            deleteNode(child, true);
    }
    if (RefNode* parent = node->parentNode())
        parent->unlinkChild(node);
    // Look the node up again: deleting children may have moved entries.
    const auto again = std::find_if(owned.begin(), owned.end(),
                                    [node](const auto& entry) { return entry.get() == node; });
    deletedNames.push_back(node->getName());
    owned.erase(again);
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
