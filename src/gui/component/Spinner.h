#pragma once
#include "gui/StdComponent.h"
#include "gui/componentinterface/Spinner.h"

namespace mvk::gui::component {

// A field for a real number with arrows that step it.
class Spinner : public StdComponent, public componentinterface::Spinner {
public:
    static constexpr int32_t EventValueCommitted = 0x4200;
    static constexpr int32_t EventValueChanged = 0x4201;

    explicit Spinner(const util::xml::Element& element);

    EventRange getEventRange() const override { return {0x4200, 0x4240}; }
    componentinterface::Interface* getInterface() override { return this; }
    util::xml::Element writeXml() const override;

    double getValue() const override { return value; }
    int32_t getValueRounded() const override;
    void setValue(double number) override { value = number; }
    double getMinimum() const override { return minimum; }
    double getMaximum() const override { return maximum; }
    void setMinimum(double number) override { minimum = number; }
    void setMaximum(double number) override { maximum = number; }
    double getStep() const override { return step; }
    void setStep(double number) override { step = number; }
    int32_t getTriggerLength() const override { return triggerLength; }
    void setTriggerLength(int32_t length) override { triggerLength = length; }
    int32_t getDecimals() const override { return decimals; }
    void setDecimals(int32_t count) override { decimals = count; }
    void setDefaultValue(double number) override { defaultValue = number; }
    double getDefaultValue() const override { return defaultValue; }

    class Factory : public ComponentFactory::Factory {
    public:
        Factory() : ComponentFactory::Factory("spinner") {}
        Component* create(const util::xml::Element& element) override;
    };

private:
    double defaultValue = 0;
    double value = 0;
    double minimum = 0;
    double maximum = 1.0;
    double step = 0.01;
    int32_t decimals = 4;
    int32_t triggerLength = 1;
};

} // namespace mvk::gui::component
