#pragma once
#include "gui/StdComponent.h"
#include "gui/componentinterface/Menubar.h"

#include <vector>

namespace mvk::gui::component {

// A window's menu bar, built from its "menu" children: titled menus of items, separators and
// submenus.
class Menubar : public StdComponent, public componentinterface::Menubar {
public:
    // The parameter is the triggered item's id.
    static constexpr int32_t EventItemTriggered = 0x4300;
    static constexpr int32_t EventMenuShowing = 0x4301;

    explicit Menubar(const util::xml::Element& element);

    EventRange getEventRange() const override { return {0x4300, 0x4340}; }
    componentinterface::Interface* getInterface() override { return this; }
    util::xml::Element writeXml() const override;
    void setItemEnabled(int32_t id, bool enabled) override;

    class Factory : public ComponentFactory::Factory {
    public:
        Factory() : ComponentFactory::Factory("menubar") {}
        Component* create(const util::xml::Element& element) override;
    };

protected:
    const std::vector<util::xml::Element>& getMenus() const { return menus; }

private:
    std::vector<util::xml::Element> menus;
};

} // namespace mvk::gui::component
