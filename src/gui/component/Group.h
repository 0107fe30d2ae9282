#pragma once
#include "gui/component/BoxComponent.h"
#include "gui/componentinterface/Group.h"

namespace mvk::gui::component {

// A titled vertical box of components.
class Group : public BoxComponent<componentinterface::Group> {
public:
    explicit Group(const util::xml::Element& element);
    EventRange getEventRange() const override { return {0x4140, 0x4180}; }

    class Factory : public ComponentFactory::Factory {
    public:
        Factory() : ComponentFactory::Factory("group") {}
        Component* create(const util::xml::Element& element) override;
    };
};

} // namespace mvk::gui::component
