#pragma once
// The driver "sdlgamepad": every controller SDL's joystick and gamepad layer sees, as one
// device each. Controllers plugged in or pulled out are picked up on every poll.
#include "../common/ListDriver.h"

#include <SDL2/SDL.h>

#include <map>
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
    void dropDisconnected();
    void addConnected();
    bool knows(SDL_JoystickID instance) const;
    // A returning controller gets the devindex it had (known by its serial or path); otherwise
    // the lowest one no device of that name holds.
    int32_t devindexFor(const std::string& name, const std::string& identity) const;
    // Where a new device joins the handler (-1: at the end).
    int32_t placeFor(const unidevice::Device& pad) const;
    static std::string identityAt(int sdlDeviceIndex);

    bool ownsEvents;
    bool ownsSdl;
    std::set<SDL_JoystickID> unusable;
    std::map<std::string, int32_t> rememberedDevindex;
};

} // namespace mvk::examples
