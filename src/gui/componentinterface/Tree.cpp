#include "gui/componentinterface/Tree.h"

namespace mvk::gui::componentinterface {

int32_t Tree::Node::getFlag(int flag, int32_t fallback) const {
    return hasFlag(flag) ? flags[static_cast<size_t>(flag)] : fallback;
}

bool Tree::Node::hasFlag(int flag) const {
    return flag >= 0 && static_cast<size_t>(flag) < flags.size() &&
           flags[static_cast<size_t>(flag)] >= 0;
}

void Tree::Node::setFlag(int flag, int32_t state) {
    if (flag < 0 || state < Unset || state > Undetermined)
        return;
    if (static_cast<size_t>(flag) >= flags.size())
        flags.resize(static_cast<size_t>(flag) + 1, -1);
    flags[static_cast<size_t>(flag)] = state;
}

bool Tree::Node::isFlagEnabled(int flag) const {
    return flag >= 0 && (static_cast<size_t>(flag) >= disabledFlags.size() ||
                         !disabledFlags[static_cast<size_t>(flag)]);
}

void Tree::Node::setFlagEnabled(int flag, bool enabled) {
    if (flag < 0)
        return;
    if (static_cast<size_t>(flag) >= disabledFlags.size())
        disabledFlags.resize(static_cast<size_t>(flag) + 1, false);
    disabledFlags[static_cast<size_t>(flag)] = !enabled;
}

void Tree::Node::setFlagInSubtree(int flag, int32_t state) {
    std::vector<Node*> pending{this};
    while (!pending.empty()) {
        Node* node = pending.back();
        pending.pop_back();
        node->setFlag(flag, state);
        for (int i = 0; i < node->childCount(); ++i)
            pending.push_back(node->child(i));
    }
}

} // namespace mvk::gui::componentinterface
