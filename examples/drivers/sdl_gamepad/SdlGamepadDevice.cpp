#include "SdlGamepadDevice.h"

#include "../common/GamepadLayout.h"

#include <algorithm>

namespace mvk::examples {

using unidevice::ControlKind::Binary;
using unidevice::ControlKind::Finite;
using unidevice::ControlKind::Trinary;

namespace {

static_assert(SDL_CONTROLLER_AXIS_TRIGGERRIGHT == 5 && SDL_CONTROLLER_BUTTON_TOUCHPAD == 20,
              "the standard layout's indices are SDL's gamepad numbering");

double stick(Sint16 raw) { return std::clamp(raw / 32767.0, -1.0, 1.0); }

double trigger(Sint16 raw) { return std::clamp(raw / 32767.0, 0.0, 1.0); }

double hatX(Uint8 hat) {
    if (hat & SDL_HAT_LEFT)
        return -1.0;
    return (hat & SDL_HAT_RIGHT) ? 1.0 : 0.0;
}

double hatY(Uint8 hat) {
    if (hat & SDL_HAT_UP)
        return -1.0;
    return (hat & SDL_HAT_DOWN) ? 1.0 : 0.0;
}

} // namespace

SdlGamepadDevice::SdlGamepadDevice(int sdlDeviceIndex, const std::string& name, int32_t devindex)
    : SampledDevice(name, devindex) {
    if (!open(sdlDeviceIndex))
        return;
    for (const Offer& offer : offers()) {
        sources.push_back(offer.source);
        addControl(offer.type, offer.index, offer.description, offer.kind, offer.threshold);
    }
}

SdlGamepadDevice::~SdlGamepadDevice() {
    destroyControls();
    close();
}

bool SdlGamepadDevice::open(int sdlDeviceIndex) {
    if (SDL_IsGameController(sdlDeviceIndex)) {
        controller = SDL_GameControllerOpen(sdlDeviceIndex);
        joystick = controller != nullptr ? SDL_GameControllerGetJoystick(controller) : nullptr;
    }
    if (joystick == nullptr)
        joystick = SDL_JoystickOpen(sdlDeviceIndex);
    if (joystick == nullptr)
        return false;
    instance = SDL_JoystickInstanceID(joystick);
    guidText = guidAt(sdlDeviceIndex);
    return true;
}

void SdlGamepadDevice::close() {
    if (controller != nullptr)
        SDL_GameControllerClose(controller);
    else if (joystick != nullptr)
        SDL_JoystickClose(joystick);
    controller = nullptr;
    joystick = nullptr;
    instance = -1;
}

void SdlGamepadDevice::disconnect() {
    close();
}

bool SdlGamepadDevice::reconnect(int sdlDeviceIndex) {
    close();
    if (!open(sdlDeviceIndex))
        return false;
    // The same model offers the same controls; should one be missing after all, it rests.
    const std::vector<Offer> now = offers();
    for (size_t i = 0; i < sources.size(); ++i) {
        const unidevice::Control* kept = control(static_cast<int32_t>(i));
        sources[i] = Source{Reading::Absent, 0};
        for (const Offer& offer : now)
            if (offer.type == kept->type() && offer.index == kept->index())
                sources[i] = offer.source;
    }
    return true;
}

std::string SdlGamepadDevice::nameAt(int sdlDeviceIndex) {
    const char* name = SDL_IsGameController(sdlDeviceIndex)
                           ? SDL_GameControllerNameForIndex(sdlDeviceIndex)
                           : SDL_JoystickNameForIndex(sdlDeviceIndex);
    return name != nullptr && *name != '\0' ? name : "Game Controller";
}

std::string SdlGamepadDevice::guidAt(int sdlDeviceIndex) {
    char text[33] = {};
    SDL_JoystickGetGUIDString(SDL_JoystickGetDeviceGUID(sdlDeviceIndex), text, sizeof text);
    return text;
}

bool SdlGamepadDevice::isConnected() const {
    return joystick != nullptr && SDL_JoystickGetAttached(joystick) == SDL_TRUE;
}

std::vector<SdlGamepadDevice::Offer> SdlGamepadDevice::offers() const {
    std::vector<Offer> made;
    if (controller != nullptr)
        addGamepadOffers(made);
    else if (joystick != nullptr)
        addJoystickOffers(made);
    return made;
}

void SdlGamepadDevice::addGamepadOffers(std::vector<Offer>& made) const {
    const bool hasDpad = SDL_GameControllerHasButton(controller, SDL_CONTROLLER_BUTTON_DPAD_UP) ||
                         SDL_GameControllerHasButton(controller, SDL_CONTROLLER_BUTTON_DPAD_LEFT);
    for (const GamepadControlSpec& spec : standardGamepadControls()) {
        Source source{Reading::Absent, spec.index};
        switch (spec.source) {
        case GamepadSource::Stick:
        case GamepadSource::Trigger:
            if (SDL_GameControllerHasAxis(controller,
                                          static_cast<SDL_GameControllerAxis>(spec.index)))
                source.reading = spec.source == GamepadSource::Stick ? Reading::ControllerAxis
                                                                     : Reading::ControllerTrigger;
            break;
        case GamepadSource::Button:
            if (SDL_GameControllerHasButton(controller,
                                            static_cast<SDL_GameControllerButton>(spec.index)))
                source.reading = Reading::ControllerButton;
            break;
        case GamepadSource::DpadX:
        case GamepadSource::DpadY:
            if (hasDpad)
                source = Source{spec.source == GamepadSource::DpadX ? Reading::ControllerDpadX
                                                                    : Reading::ControllerDpadY,
                                0};
            break;
        }
        if (source.reading != Reading::Absent)
            made.push_back(
                {source, spec.type, spec.index, spec.description, spec.kind, spec.threshold});
    }
}

void SdlGamepadDevice::addJoystickOffers(std::vector<Offer>& made) const {
    const int axes = SDL_JoystickNumAxes(joystick);
    for (int i = 0; i < axes; ++i)
        made.push_back(
            {{Reading::JoystickAxis, i}, "axis", i, "Axis " + std::to_string(i), Finite, 0.25});
    const int buttons = SDL_JoystickNumButtons(joystick);
    for (int i = 0; i < buttons; ++i) {
        const std::string button = "Button " + std::to_string(i);
        made.push_back({{Reading::JoystickButton, i}, "button", i, button, Binary, 0.5});
    }
    const int hats = SDL_JoystickNumHats(joystick);
    for (int i = 0; i < hats; ++i) {
        const std::string hat = "Hat " + std::to_string(i);
        made.push_back({{Reading::JoystickHatX, i}, "hat", 2 * i, hat + " X", Trinary, 0.5});
        made.push_back({{Reading::JoystickHatY, i}, "hat", 2 * i + 1, hat + " Y", Trinary, 0.5});
    }
}

double SdlGamepadDevice::sample(int32_t controlIndex) const {
    if (controlIndex < 0 || controlIndex >= static_cast<int32_t>(sources.size()))
        return 0.0;
    // A controller that went away reads as resting, also before the driver notices.
    if (!isConnected())
        return 0.0;
    const Source& source = sources[static_cast<size_t>(controlIndex)];
    return controller != nullptr ? readController(source) : readJoystick(source);
}

double SdlGamepadDevice::readController(const Source& source) const {
    auto pressed = [this](SDL_GameControllerButton button) {
        return SDL_GameControllerGetButton(controller, button) != 0;
    };
    switch (source.reading) {
    case Reading::ControllerAxis:
        return stick(SDL_GameControllerGetAxis(controller,
                                               static_cast<SDL_GameControllerAxis>(source.sdlIndex)));
    case Reading::ControllerTrigger:
        return trigger(SDL_GameControllerGetAxis(
            controller, static_cast<SDL_GameControllerAxis>(source.sdlIndex)));
    case Reading::ControllerButton:
        return pressed(static_cast<SDL_GameControllerButton>(source.sdlIndex)) ? 1.0 : 0.0;
    case Reading::ControllerDpadX:
        return (pressed(SDL_CONTROLLER_BUTTON_DPAD_RIGHT) ? 1.0 : 0.0) -
               (pressed(SDL_CONTROLLER_BUTTON_DPAD_LEFT) ? 1.0 : 0.0);
    case Reading::ControllerDpadY:
        return (pressed(SDL_CONTROLLER_BUTTON_DPAD_DOWN) ? 1.0 : 0.0) -
               (pressed(SDL_CONTROLLER_BUTTON_DPAD_UP) ? 1.0 : 0.0);
    default:
        return 0.0;
    }
}

double SdlGamepadDevice::readJoystick(const Source& source) const {
    switch (source.reading) {
    case Reading::JoystickAxis:
        return stick(SDL_JoystickGetAxis(joystick, source.sdlIndex));
    case Reading::JoystickButton:
        return SDL_JoystickGetButton(joystick, source.sdlIndex) != 0 ? 1.0 : 0.0;
    case Reading::JoystickHatX:
        return hatX(SDL_JoystickGetHat(joystick, source.sdlIndex));
    case Reading::JoystickHatY:
        return hatY(SDL_JoystickGetHat(joystick, source.sdlIndex));
    default:
        return 0.0;
    }
}

} // namespace mvk::examples
