#pragma once
// A spin box bound to a double of the tool.
#include "core/configadaptor/Node.h"

namespace mvk::qvn::core::configadaptor::element {

class Spinner : public Node {
public:
    // `variable` belongs to the tool and must outlive the element; null binds nothing.
    Spinner(int32_t id, std::string label, std::string tooltip, double* variable, double minimum,
            double maximum, double step, int32_t triggerLength, Callback* callback);

    // An item of type "blob": the value's 8 bytes, so it reads back bit for bit.
    util::xml::Element writeProfile() const override;
    void readProfile(const util::xml::Element& element) override;
    // Only a committed edit of the own spinner stores the value, not every step of typing.
    bool applyWidgetChange(const WidgetChange& change) override;
    // A captioned row with the control, which starts from the bound value.
    util::xml::Element pageLayout() const override;

    double* getVariable() const { return variable; }
    double getMinimum() const { return minimum; }
    double getMaximum() const { return maximum; }
    double getStep() const { return step; }
    int32_t getTriggerLength() const { return triggerLength; }

protected:
    const char* controlKind() const override { return "spinner"; }
    void showValue(gui::Component& control) const override;

private:
    double* variable;
    double minimum;
    double maximum;
    double step;
    int32_t triggerLength;
};

} // namespace mvk::qvn::core::configadaptor::element
