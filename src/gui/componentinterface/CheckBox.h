#pragma once
#include "gui/componentinterface/Interface.h"

#include <cstdint>

namespace mvk::gui::componentinterface {

class CheckBox : public Interface {
public:
    static constexpr int32_t Unchecked = 0;
    static constexpr int32_t Checked = 1;
    static constexpr int32_t PartlyChecked = 2;

    virtual int32_t getState() const = 0;
    virtual void setState(int32_t state) = 0;
    virtual bool isChecked() const = 0;
    virtual void setChecked(bool checked) = 0;
    virtual bool isTristate() const = 0;
    virtual void setTristate(bool tristate) = 0;
    // Stored and offered to the owner; it changes nothing else.
    virtual int32_t getPaintGroup() const = 0;
    virtual void setPaintGroup(int32_t group) = 0;
};

} // namespace mvk::gui::componentinterface
