#pragma once
// The main window's tool tree: one node per instance reference below the root, with the tick
// column that chooses the instances a take records. The nodes mirror the instance tree and are
// built again whenever it changed.
#include "util/MessageNode.h"

#include <cstdint>

namespace mvk::gui::componentinterface {
class Tree;
}

namespace mvk::qvn::core {

class InstanceReference;

class ToolTree : public util::MessageNode {
public:
    // The tick column.
    static constexpr int RecordFlag = 0;

    // `tree` is the window's tree (null: the window has none, and nothing is ever shown).
    explicit ToolTree(gui::componentinterface::Tree* tree);
    ~ToolTree() override;
    ToolTree(const ToolTree&) = delete;
    ToolTree& operator=(const ToolTree&) = delete;

    // Shows the references below `root` as they are now and keeps the selection when its
    // reference is still there.
    void rebuild(InstanceReference* root);
    // The selected reference; null when nothing is selected or it left the tree since.
    InstanceReference* selected() const;
    void select(InstanceReference* reference);
    // Starts editing the reference's name in place; the edited text renames it.
    void editName(InstanceReference* reference);
    // Copies the tick column into the references' checked state.
    void applyTicks();
    int nodeCount() const;
    // Gives the name column the room the tree has now; the columns are sized by the tree's
    // width, so this follows the window being shown.
    void fitColumns();

    // An instance that goes away leaves its node blank until the next rebuild, so that the
    // tree never reaches a deleted reference.
    void handleMessage(util::Message& message, bool broadcast) override;

private:
    class Node;

    template <class Visit> void forEachNode(Visit visit) const;
    Node* nodeOf(InstanceReference* reference) const;
    bool isInTree(const InstanceReference* reference) const;

    gui::componentinterface::Tree* tree;
    InstanceReference* shownRoot = nullptr;
    Node* root = nullptr;
};

} // namespace mvk::qvn::core
