#include "core/windows/BindingText.h"

#include "unidevice/Control.h"
#include "unidevice/Device.h"
#include "unidevice/Driver.h"
#include "unidevice/Property.h"

namespace mvk::qvn::core {

namespace {

bool contains(const std::string& text, const char* part) {
    return text.find(part) != std::string::npos;
}

} // namespace

std::string BindingText::of(const unidevice::Control* control) {
    if (control == nullptr)
        return None;
    return control->toXML().child("description").text();
}

std::string BindingText::of(const unidevice::Property& property) {
    return of(property.control());
}

// The first rule that matches wins.
std::string BindingText::icon(const std::string& text) {
    if (contains(text, "Keyboard"))
        return "icon_inputs_keyboard.png";
    if (contains(text, "Wacom") || contains(text, "wacom"))
        return "icon_inputs_wacom.png";
    if (contains(text, "connexion") || contains(text, "Connexion"))
        return "icon_inputs_connexion.png";
    if (contains(text, None))
        return {};
    return "icon_inputs_gamepad.png";
}

// Devices carry no type name, so the device list goes by the name of the driver that reads the
// device, compared exactly: the tablet and 3D-mouse drivers have their own icons, the
// game-controller drivers (the driver library's and the simulated pad's) the game pad, and
// everything else, the keyboard device among them, the keyboard.
std::string BindingText::deviceIcon(const unidevice::Device& device) {
    const std::string driver = device.driver() != nullptr ? device.driver()->name() : "";
    if (driver == "Wacom")
        return "icon_inputs_wacom.png";
    if (driver == "3dconnexion")
        return "icon_inputs_connexion.png";
    if (driver == "directinput" || driver == "sdlgamepad" || driver == "simulatedgamepad")
        return "icon_inputs_gamepad.png";
    return "icon_inputs_keyboard.png";
}

} // namespace mvk::qvn::core
