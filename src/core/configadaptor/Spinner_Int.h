#pragma once
// A spin box bound to a 32-bit integer of the tool.
#include "core/configadaptor/Node.h"

namespace mvk::qvn::core::configadaptor::element {

class Spinner_Int : public Node {
public:
    // `variable` belongs to the tool and must outlive the element; null binds nothing.
    Spinner_Int(int32_t id, std::string label, std::string tooltip, int32_t* variable,
                int32_t minimum, int32_t maximum, int32_t step, int32_t triggerLength,
                Callback* callback);

    // An item without "type" holding the integer in decimal.
    util::xml::Element writeProfile() const override;
    void readProfile(const util::xml::Element& element) override;
    // Every value change of the own spinner stores the rounded value.
    bool applyWidgetChange(const WidgetChange& change) override;
    // A captioned row with the control, which starts from the bound value.
    util::xml::Element pageLayout() const override;

    int32_t* getVariable() const { return variable; }
    int32_t getMinimum() const { return minimum; }
    int32_t getMaximum() const { return maximum; }
    int32_t getStep() const { return step; }
    int32_t getTriggerLength() const { return triggerLength; }

protected:
    const char* controlKind() const override { return "spinner"; }
    void showValue(gui::Component& control) const override;

private:
    int32_t* variable;
    int32_t minimum;
    int32_t maximum;
    int32_t step;
    int32_t triggerLength;
};

} // namespace mvk::qvn::core::configadaptor::element
