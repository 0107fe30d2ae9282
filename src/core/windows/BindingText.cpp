#include "core/windows/BindingText.h"

#include "unidevice/Control.h"
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

} // namespace mvk::qvn::core
