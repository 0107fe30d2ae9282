#pragma once
#include "gui/StdComponent.h"
#include "gui/componentinterface/Tree.h"

#include <vector>

namespace mvk::gui::component {

// A tree of nodes the owner supplies, with optional flag columns and drag and drop.
class Tree : public StdComponent, public componentinterface::Tree {
public:
    static constexpr int32_t EventRefreshed = 0x4280;
    static constexpr int32_t EventSelectionChanged = 0x4281;
    // The parameter is the flag's index.
    static constexpr int32_t EventFlagChanged = 0x4282;
    static constexpr int32_t EventDoubleClicked = 0x4283;

    struct Flag {
        std::string falseIcon;
        std::string trueIcon;
        std::string undeterminedIcon;
        int32_t defaultState = Unset;
    };

    explicit Tree(const util::xml::Element& element);

    EventRange getEventRange() const override { return {0x4280, 0x42C0}; }
    componentinterface::Interface* getInterface() override { return this; }
    util::xml::Element writeXml() const override;

    void setRoot(Node* node) override { root = node; }
    Node* getRoot() const override { return root; }
    void refresh() override { sendEvent(EventRefreshed, 0); }
    void setupColumns() override {}
    void selectNode(Node* node) override { current = node; }
    Node* getCurrentNode() const override { return current; }
    void editNode(Node*) override {}
    void updateNodeIcons() override {}

    bool hasDragDrop() const { return dragDrop; }
    const std::vector<Flag>& getFlags() const { return flags; }

    class Factory : public ComponentFactory::Factory {
    public:
        Factory() : ComponentFactory::Factory("tree") {}
        Component* create(const util::xml::Element& element) override;
    };

private:
    bool dragDrop = false;
    std::vector<Flag> flags;
    Node* root = nullptr;
    Node* current = nullptr;
};

} // namespace mvk::gui::component
