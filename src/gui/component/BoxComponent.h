#pragma once
// The shared part of the box containers: a standard component with box settings that builds
// its children from the layout, answers the Box operations and writes everything back.
#include "gui/StdComponent.h"
#include "gui/component/BoxSettings.h"

namespace mvk::gui::component {

template <class KindInterface> class BoxComponent : public StdComponent, public KindInterface {
public:
    using Alignment = componentinterface::Box::Alignment;

    BoxComponent(const std::string& kindName, const util::xml::Element& element,
                 BoxSettings::Features features)
        : StdComponent(kindName, element), box(features) {
        box.read(element);
        buildChildren(element);
    }

    componentinterface::Interface* getInterface() override { return this; }
    const BoxSettings* boxSettings() const override { return &box; }

    util::xml::Element writeXml() const override {
        util::xml::Element element = StdComponent::writeXml();
        box.write(element);
        writeChildren(element);
        return element;
    }

    Alignment getValign() const override { return box.valign; }
    Alignment getHalign() const override { return box.halign; }
    void setValign(Alignment alignment) override {
        box.valign = alignment;
        boxChanged();
    }
    void setHalign(Alignment alignment) override {
        box.halign = alignment;
        boxChanged();
    }
    void setPadding(int side, int32_t value) override {
        box.setPadding(side, value);
        boxChanged();
    }
    void setPaddings(int32_t top, int32_t right, int32_t bottom, int32_t left) override {
        box.setPadding(componentinterface::Box::Top, top);
        box.setPadding(componentinterface::Box::Right, right);
        box.setPadding(componentinterface::Box::Bottom, bottom);
        box.setPadding(componentinterface::Box::Left, left);
        boxChanged();
    }
    int32_t getPadding(int side) const override { return box.getPadding(side); }

protected:
    // The drawing layer re-applies the settings to its box and frame.
    virtual void boxChanged() {}

    BoxSettings box;
};

} // namespace mvk::gui::component
