#pragma once
#include "gui/StdComponent.h"

namespace mvk::gui::component {

// A scrolled view of its content component.
class Scroll : public StdComponent {
public:
    explicit Scroll(const util::xml::Element& element);
    util::xml::Element writeXml() const override;

    class Factory : public ComponentFactory::Factory {
    public:
        Factory() : ComponentFactory::Factory("scroll") {}
        Component* create(const util::xml::Element& element) override;
    };
};

} // namespace mvk::gui::component
