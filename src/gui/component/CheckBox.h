#pragma once
#include "gui/StdComponent.h"
#include "gui/componentinterface/CheckBox.h"

namespace mvk::gui::component {

// A check box with two or three states; its label is the text beside the box.
class CheckBox : public StdComponent, public componentinterface::CheckBox {
public:
    static constexpr int32_t EventStateChanged = 0x4240;

    explicit CheckBox(const util::xml::Element& element);

    EventRange getEventRange() const override { return {0x4240, 0x4280}; }
    componentinterface::Interface* getInterface() override { return this; }
    util::xml::Element writeXml() const override;

    int32_t getState() const override { return state; }
    void setState(int32_t value) override;
    bool isChecked() const override { return getState() == Checked; }
    void setChecked(bool checked) override { setState(checked ? Checked : Unchecked); }
    bool isTristate() const override { return tristate; }
    void setTristate(bool value) override { tristate = value; }
    int32_t getPaintGroup() const override { return paintGroup; }
    void setPaintGroup(int32_t group) override { paintGroup = group; }

    class Factory : public ComponentFactory::Factory {
    public:
        Factory() : ComponentFactory::Factory("checkbox") {}
        Component* create(const util::xml::Element& element) override;
    };

private:
    int32_t defaultState = Unchecked;
    int32_t state = Unchecked;
    bool tristate = false;
    int32_t paintGroup = -1;
};

} // namespace mvk::gui::component
