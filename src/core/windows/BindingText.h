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
    // The icon file (under the images folder) for a binding text; empty for no icon.
    static std::string icon(const std::string& text);
    // The icon file of a device in the device list, chosen by the device's driver.
    static std::string deviceIcon(const unidevice::Device& device);
};

} // namespace mvk::qvn::core
