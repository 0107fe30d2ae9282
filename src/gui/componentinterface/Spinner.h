#pragma once
#include "gui/componentinterface/Interface.h"

#include <cstdint>

namespace mvk::gui::componentinterface {

class Spinner : public Interface {
public:
    virtual double getValue() const = 0;
    // The value plus 0.4999999, truncated: 2.5 gives 2, 2.6 gives 3.
    virtual int32_t getValueRounded() const = 0;
    virtual void setValue(double value) = 0;
    virtual double getMinimum() const = 0;
    virtual double getMaximum() const = 0;
    virtual void setMinimum(double minimum) = 0;
    virtual void setMaximum(double maximum) = 0;
    virtual double getStep() const = 0;
    virtual void setStep(double step) = 0;
    // Stored and offered to the owner; it changes nothing else.
    virtual int32_t getTriggerLength() const = 0;
    virtual void setTriggerLength(int32_t length) = 0;
    virtual int32_t getDecimals() const = 0;
    virtual void setDecimals(int32_t decimals) = 0;
    virtual void setDefaultValue(double value) = 0;
    virtual double getDefaultValue() const = 0;
};

} // namespace mvk::gui::componentinterface
