#pragma once
#include "gui/componentinterface/Interface.h"
#include "util/Composite_Dynamic.h"
#include "util/DynamicObject.h"

#include <cstdint>
#include <string>
#include <vector>

namespace mvk::gui::componentinterface {

// A tree of nodes with a name column and one column per flag.
class Tree : public Interface {
public:
    // Flag states.
    static constexpr int32_t Unset = 0;
    static constexpr int32_t Set = 1;
    static constexpr int32_t Undetermined = 2;

    // One entry of the tree. The owner of the tree owns the root; every node owns its children.
    class Node : public util::DynamicCreator, public util::Composite_Dynamic<Node> {
    public:
        void destroyComposite() override { delete this; }

        virtual std::string getName() const = 0;
        // The text edited in place; nodes that cannot be renamed ignore it.
        virtual void setName(const std::string& name) {}
        // An image path (aliases allowed); empty for none.
        virtual std::string getIcon() const { return icon; }
        virtual void setIcon(const std::string& path) { icon = path; }
        // A copy for a drop with the Control key held; null refuses to be copied.
        virtual Node* clone() const { return nullptr; }

        // The state of a flag; a flag never given a state reads as `fallback`.
        int32_t getFlag(int flag, int32_t fallback = Unset) const;
        void setFlag(int flag, int32_t state);
        bool hasFlag(int flag) const;
        // Flags are enabled for a node unless turned off.
        bool isFlagEnabled(int flag) const;
        void setFlagEnabled(int flag, bool enabled);
        // Sets the flag on this node and every node below it.
        void setFlagInSubtree(int flag, int32_t state);

    private:
        std::string icon;
        std::vector<int32_t> flags;
        std::vector<bool> disabledFlags;
    };

    virtual void setRoot(Node* root) = 0;
    virtual Node* getRoot() const = 0;
    // Shows the nodes as they are now, then sends the refreshed event.
    virtual void refresh() = 0;
    // One delegate per flag column, header sections and sizes, last section stretched, all
    // nodes expanded.
    virtual void setupColumns() = 0;
    virtual void selectNode(Node* node) = 0;
    virtual Node* getCurrentNode() const = 0;
    virtual void editNode(Node* node) = 0;
    // Loads every node's icon again (after icons or path aliases changed).
    virtual void updateNodeIcons() = 0;
};

} // namespace mvk::gui::componentinterface
