#pragma once
// The driver "sdlgamepad": every controller SDL's joystick and gamepad layer sees, as one
// device each. Controllers plugged in or pulled out are picked up on every poll. A controller
// that goes away keeps its device (resting); one of the same GUID and name that comes later
// takes over the first such device, in devindex order, so bindings and a running take go on.
#include "../common/ListDriver.h"

#include <SDL2/SDL.h>

#include <set>
#include <string>

namespace mvk::examples {

class SdlGamepadDevice;

class SdlGamepadDriver : public ListDriver {
public:
    // A driver with SDL's joystick and gamepad subsystems started, or null when SDL refuses.
    static SdlGamepadDriver* create(unidevice::DeviceHandler* handler);
    // Destroys its devices and stops the two subsystems again; SDL as a whole only when this
    // driver started it and nobody else uses it by then.
    ~SdlGamepadDriver() override;

    // Poll SDL, follow hot-plugging, then read every controller.
    bool update() override;
    int32_t prepareDetection() override;
    unidevice::Control* detect() override;

private:
    SdlGamepadDriver(unidevice::DeviceHandler* handler, bool ownsEvents, bool ownsSdl);
    void refresh();
    void letGoOfDisconnected();
    void addConnected();
    void takeOver(int sdlDeviceIndex, SDL_JoystickID instance);
    bool knows(SDL_JoystickID instance) const;
    // The first disconnected device, in devindex order, of that GUID and name; null when none.
    SdlGamepadDevice* waitingFor(const std::string& guid, const std::string& name) const;

    bool ownsEvents;
    bool ownsSdl;
    std::set<SDL_JoystickID> unusable;
};

} // namespace mvk::examples
