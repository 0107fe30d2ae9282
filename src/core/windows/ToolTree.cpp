#include "core/windows/ToolTree.h"

#include "core/instances/Instance.h"
#include "core/instances/InstanceReference.h"
#include "gui/componentinterface/Tree.h"
#include "util/Message.h"

#include <vector>

namespace mvk::qvn::core {

using TreeNode = gui::componentinterface::Tree::Node;
using gui::componentinterface::Tree;

class ToolTree::Node : public TreeNode {
public:
    explicit Node(InstanceReference* reference)
        : reference(reference), instance(reference ? reference->getInstance() : nullptr) {
        if (instance != nullptr)
            setIcon(instance->getIconPath());
    }
    std::string getName() const override { return reference ? reference->getName() : ""; }
    // In-place editing renames the instance as one undoable step.
    void setName(const std::string& name) override {
        if (reference != nullptr && !name.empty() && name != reference->getName())
            reference->rename(name);
    }

    InstanceReference* reference;
    Instance* instance;
};

ToolTree::ToolTree(Tree* tree) : tree(tree) {
    if (tree != nullptr)
        tree->setupColumns();
}

ToolTree::~ToolTree() {
    if (tree != nullptr)
        tree->setRoot(nullptr);
    delete root;
}

void ToolTree::fitColumns() {
    if (tree != nullptr)
        tree->setupColumns();
}

void ToolTree::rebuild(InstanceReference* instanceRoot) {
    InstanceReference* keep = selected();
    Node* built = new Node(instanceRoot);
    std::vector<std::pair<Node*, InstanceReference*>> pending{{built, instanceRoot}};
    while (!pending.empty()) {
        auto [node, reference] = pending.back();
        pending.pop_back();
        for (int i = 0; reference != nullptr && i < reference->childCount(); ++i) {
            InstanceReference* child = reference->child(i);
            if (!child->isActive())
                continue;
            auto* childNode = new Node(child);
            childNode->setFlag(RecordFlag, child->isChecked() ? Tree::Set : Tree::Unset);
            node->insertChild(childNode);
            pending.emplace_back(childNode, child);
        }
    }
    Node* old = root;
    root = built;
    shownRoot = instanceRoot;
    while (sourceCount() > 0)
        unsubscribe(source(0));
    if (root->instance != nullptr)
        subscribe(root->instance);
    forEachNode([this](Node* node) {
        if (node->instance != nullptr)
            subscribe(node->instance);
    });
    if (tree != nullptr) {
        tree->setRoot(root);
        tree->refresh();
        if (Node* again = nodeOf(keep))
            tree->selectNode(again);
    }
    delete old;
}

InstanceReference* ToolTree::selected() const {
    const auto* node = tree ? dynamic_cast<const Node*>(tree->getCurrentNode()) : nullptr;
    if (node == nullptr || !isInTree(node->reference))
        return nullptr;
    return node->reference;
}

void ToolTree::select(InstanceReference* reference) {
    if (tree != nullptr)
        tree->selectNode(nodeOf(reference));
}

template <class Visit> void ToolTree::forEachNode(Visit visit) const {
    std::vector<TreeNode*> pending;
    if (root != nullptr)
        for (int i = 0; i < root->childCount(); ++i)
            pending.push_back(root->child(i));
    while (!pending.empty()) {
        auto* node = static_cast<Node*>(pending.back());
        pending.pop_back();
        visit(node);
        for (int i = 0; i < node->childCount(); ++i)
            pending.push_back(node->child(i));
    }
}

void ToolTree::editName(InstanceReference* reference) {
    if (Node* node = nodeOf(reference); node != nullptr && tree != nullptr)
        tree->editNode(node);
}

void ToolTree::applyTicks() {
    forEachNode([this](Node* node) {
        if (isInTree(node->reference))
            node->reference->setChecked(node->getFlag(RecordFlag) == Tree::Set);
    });
}

int ToolTree::nodeCount() const {
    int count = 0;
    forEachNode([&count](Node*) { ++count; });
    return count;
}

ToolTree::Node* ToolTree::nodeOf(InstanceReference* reference) const {
    Node* found = nullptr;
    if (reference != nullptr)
        forEachNode([&](Node* node) {
            if (node->reference == reference && found == nullptr)
                found = node;
        });
    return found;
}

void ToolTree::handleMessage(util::Message& message, bool) {
    if (message.id != util::Message::Destroying)
        return;
    if (root != nullptr && root->instance != nullptr &&
        static_cast<util::MessageNode*>(root->instance) == message.sender) {
        root->instance = nullptr;
        root->reference = nullptr;
        shownRoot = nullptr;
    }
    forEachNode([&message](Node* node) {
        if (node->instance != nullptr &&
            static_cast<util::MessageNode*>(node->instance) == message.sender) {
            node->instance = nullptr;
            node->reference = nullptr;
        }
    });
}

// A reference may have been deleted since the nodes were built; only one still reachable from
// the shown root is used.
bool ToolTree::isInTree(const InstanceReference* reference) const {
    if (reference == nullptr || shownRoot == nullptr)
        return false;
    std::vector<InstanceReference*> pending{shownRoot};
    while (!pending.empty()) {
        InstanceReference* current = pending.back();
        pending.pop_back();
        if (current == reference)
            return current->isActive();
        for (int i = 0; i < current->childCount(); ++i)
            pending.push_back(current->child(i));
    }
    return false;
}

} // namespace mvk::qvn::core
