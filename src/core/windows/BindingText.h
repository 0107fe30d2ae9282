#pragma once
// How a binding is shown to the user: the description written into the control's binding (the
// device name, ": " and the control's own description) and the device icon chosen from it; and
// the icon of a device in the device list.
#include <string>

namespace mvk::unidevice {
class Control;
class Device;
class Property;
} // namespace mvk::unidevice

namespace mvk::qvn::core {

class BindingText {
public:
    static constexpr const char* None = "[none]";

    // The control's binding description; None for null.
    static std::string of(const unidevice::Control* control);
    // The text of the property's row: its control's description, or None when unbound.
    static std::string of(const unidevice::Property& property);
    // The icon file of a device in the device list, chosen by the device's driver.
    static std::string deviceIcon(const unidevice::Device& device);
    // The icon of the device that drives `control`: for two buttons made into one axis, the
    // device of its first button. Empty without a control.
    static std::string controlIcon(const unidevice::Control* control);
    // Whether `control` is one of the keyboard's keys.
    static bool isKey(const unidevice::Control* control);
};

} // namespace mvk::qvn::core
