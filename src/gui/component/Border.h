#pragma once
#include "gui/component/BoxComponent.h"
#include "gui/componentinterface/Border.h"

namespace mvk::gui::component {

// A frame around a vertical box of components.
class Border : public BoxComponent<componentinterface::Border> {
public:
    explicit Border(const util::xml::Element& element);

    componentinterface::FrameStyle getStyle() const override { return box.style; }
    void setStyle(componentinterface::FrameStyle style) override;

    class Factory : public ComponentFactory::Factory {
    public:
        Factory() : ComponentFactory::Factory("border") {}
        Component* create(const util::xml::Element& element) override;
    };
};

} // namespace mvk::gui::component
