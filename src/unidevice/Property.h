#pragma once
// A named input of a tool instance: bound to at most one control, it shapes the control's raw
// value with a response curve of four parameters.
#include "sdk/CProperty.h"
#include "unidevice/ControlTarget.h"
#include "util/xml/Element.h"

#include <cstdint>
#include <functional>
#include <string>

namespace mvk::unidevice {

class Control;

class Property : public ControlTarget, public qvn::CProperty {
public:
    // Makes a property for a name and an accepted-kind set; the tool instance supplies it.
    using Factory = std::function<Property*(const std::string& name, uint32_t accepted)>;

    // Bind answer for "no control".
    static constexpr uint32_t Unbound = 65535;

    Property(std::string name, uint32_t accepted);
    Property(const Property&) = delete;
    Property& operator=(const Property&) = delete;

    // Drops the bound control when it is the one going; the stored binding element stays.
    void controlDeleted(Control* control) override;
    // The response curve applied to the bound control's value (0 without one).
    double value() const override;
    const std::string& getName() const override { return propertyName; }
    virtual void destroy();
    // Leaves the bound control's targets.
    ~Property() override;

    // Binds to `control` (null unbinds); the stored binding element is the caller's business
    // (setBinding). Returns Unbound for null, else accepted AND the control's kind (0: no kind
    // in common).
    uint32_t bind(Control* control);
    Control* control() const { return boundControl; }

    // The property element: "name" and four children holding the parameters.
    util::xml::Element toXML() const;
    // Takes each parameter whose child is present and not empty; others stay as they are.
    void loadSettings(const util::xml::Element& element);

    // The response curve: the dead zone cut symmetrically and stretched back to full scale,
    // then the exponent, the sign, the multiplier and the offset. Not clamped.
    static double response(double raw, double multiplier, double exponent, double deadzone,
                           double offset);

    const std::string& name() const { return propertyName; }
    uint32_t accepted() const { return acceptedKinds; }
    double multiplier() const { return multiplierValue; }
    double exponent() const { return exponentValue; }
    double deadzone() const { return deadzoneValue; }
    double offset() const { return offsetValue; }
    const util::xml::Element& binding() const { return storedBinding; }

    void setMultiplier(double value) { multiplierValue = value; }
    void setExponent(double value) { exponentValue = value; }
    void setDeadzone(double value) { deadzoneValue = value; }
    void setOffset(double value) { offsetValue = value; }
    void setBinding(const util::xml::Element& binding) { storedBinding = binding; }

private:
    Control* boundControl = nullptr;
    std::string propertyName;
    uint32_t acceptedKinds;
    double multiplierValue = 1.0;
    double exponentValue = 1.0;
    double deadzoneValue = 0.1;
    double offsetValue = 0.0;
    util::xml::Element storedBinding;
};

} // namespace mvk::unidevice
