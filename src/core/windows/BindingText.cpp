#include "core/windows/BindingText.h"

#include "unidevice/Control.h"
#include "unidevice/Device.h"
#include "unidevice/Driver.h"
#include "unidevice/EmulatedTControl.h"
#include "unidevice/Property.h"
#include "unidevice/WINHOOK_KeyboardDevice.h"

namespace mvk::qvn::core {

std::string BindingText::of(const unidevice::Control* control) {
    if (control == nullptr)
        return None;
    return control->toXML().child("description").text();
}

std::string BindingText::of(const unidevice::Property& property) {
    return of(property.control());
}

// Devices carry no type name, so the device list goes by the name of the driver that reads the
// device, compared exactly: the tablet and 3D-mouse drivers have their own icons, as have the
// network (OSC) and MIDI drivers, the game-controller drivers (the driver library's and the
// simulated pad's) the game pad, and everything else, the keyboard device among them, the
// keyboard.
std::string BindingText::deviceIcon(const unidevice::Device& device) {
    const std::string driver = device.driver() != nullptr ? device.driver()->name() : "";
    if (driver == "Wacom")
        return "icon_inputs_wacom.png";
    if (driver == "3dconnexion")
        return "icon_inputs_connexion.png";
    if (driver == "osc")
        return "icon_inputs_osc.png";
    if (driver == "midi")
        return "icon_inputs_midi.png";
    if (driver == "directinput" || driver == "sdlgamepad" || driver == "simulatedgamepad")
        return "icon_inputs_gamepad.png";
    return "icon_inputs_keyboard.png";
}

std::string BindingText::controlIcon(const unidevice::Control* control) {
    for (int depth = 0; control != nullptr && depth < 4; ++depth) {
        const auto* emulated = dynamic_cast<const unidevice::EmulatedTControl*>(control);
        if (emulated == nullptr && isKey(control))
            return "icon_inputs_keyboard.png";
        if (emulated == nullptr)
            return control->device() != nullptr ? deviceIcon(*control->device()) : std::string();
        control = emulated->positive() != nullptr ? emulated->positive() : emulated->negative();
    }
    return {};
}

// The keys carry no link to their device; the keyboard device lists them.
bool BindingText::isKey(const unidevice::Control* control) {
    const unidevice::WINHOOK_KeyboardDevice* keyboard = unidevice::WINHOOK_KeyboardDevice::live();
    if (control == nullptr || keyboard == nullptr)
        return false;
    for (int32_t i = 0; i < keyboard->controlCount(); ++i)
        if (keyboard->control(i) == control)
            return true;
    return false;
}

} // namespace mvk::qvn::core
