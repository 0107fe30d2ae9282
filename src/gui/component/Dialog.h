#pragma once
#include "gui/StdComponent.h"
#include "gui/component/BoxSettings.h"
#include "gui/componentinterface/Dialog.h"

namespace mvk::gui::component {

// A top-level window holding its components in a vertical box.
class Dialog : public StdComponent, public componentinterface::Dialog {
public:
    static constexpr int32_t EventActivated = 0x4100;
    static constexpr int32_t EventDeactivated = 0x4101;
    static constexpr int32_t EventModalRun = 0x4102;

    explicit Dialog(const util::xml::Element& element);

    EventRange getEventRange() const override { return {0x4100, 0x4140}; }
    componentinterface::Interface* getInterface() override { return this; }
    const BoxSettings* boxSettings() const override { return &box; }
    util::xml::Element writeXml() const override;

    bool isModal() const override { return modal; }
    bool isTopmost() const override { return topmost; }
    void setTopmost(bool value) override { topmost = value; }

    std::string getIcon() const { return icon; }
    bool hasTitlebar() const { return titlebar; }
    bool hasCloseButton() const { return closeButton; }
    bool hasMinimizeButton() const { return minimizeButton; }
    bool hasMaximizeButton() const { return maximizeButton; }

    class Factory : public ComponentFactory::Factory {
    public:
        Factory() : ComponentFactory::Factory("dialog") {}
        // Writes "Creating a dialog" to standard output for every window it builds.
        Component* create(const util::xml::Element& element) override;
    };

protected:
    BoxSettings box{BoxSettings::Features{}};

private:
    std::string icon;
    bool topmost = false;
    bool titlebar = true;
    bool closeButton = true;
    bool minimizeButton = false;
    bool maximizeButton = false;
    bool modal = false;
};

} // namespace mvk::gui::component
