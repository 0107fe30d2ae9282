#pragma once
#include "gui/component/BoxComponent.h"
#include "gui/componentinterface/List.h"

namespace mvk::gui::component {

// A framed box of components, vertical or horizontal.
class List : public BoxComponent<componentinterface::List> {
public:
    explicit List(const util::xml::Element& element);

    componentinterface::FrameStyle getStyle() const override { return box.style; }
    void setStyle(componentinterface::FrameStyle style) override;
    void setVertical(bool vertical) override;
    bool isVertical() const override { return box.vertical; }

    class Factory : public ComponentFactory::Factory {
    public:
        Factory() : ComponentFactory::Factory("list") {}
        Component* create(const util::xml::Element& element) override;
    };
};

} // namespace mvk::gui::component
