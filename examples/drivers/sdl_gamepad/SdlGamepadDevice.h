#pragma once
// One connected controller. Controllers SDL knows a gamepad mapping for expose the standard
// gamepad layout; any other joystick exposes its raw axes, buttons and hats.
#include "../common/SampledDevice.h"

#include <SDL2/SDL.h>

#include <string>
#include <vector>

namespace mvk::examples {

class SdlGamepadDevice : public SampledDevice {
public:
    // Opens the controller at SDL's device index; check isOpen() afterwards.
    SdlGamepadDevice(int sdlDeviceIndex, const std::string& name, int32_t devindex);
    ~SdlGamepadDevice() override;

    bool isOpen() const { return joystick != nullptr; }
    SDL_JoystickID instanceId() const { return instance; }
    bool isConnected() const override;

    // The name SDL reports for a device index, or a generic one.
    static std::string nameAt(int sdlDeviceIndex);

protected:
    double sample(int32_t controlIndex) const override;

private:
    enum class Reading { ControllerAxis, ControllerTrigger, ControllerButton, ControllerDpadX,
                         ControllerDpadY, JoystickAxis, JoystickButton, JoystickHatX,
                         JoystickHatY };
    struct Source {
        Reading reading;
        int sdlIndex;
    };

    void addGamepadControls();
    void addJoystickControls();
    void addSource(Reading reading, int sdlIndex, const std::string& type, int32_t index,
                   const std::string& description, uint32_t kind, double threshold);
    double readController(const Source& source) const;
    double readJoystick(const Source& source) const;

    SDL_GameController* controller = nullptr;
    SDL_Joystick* joystick = nullptr;
    SDL_JoystickID instance = -1;
    std::vector<Source> sources;
};

} // namespace mvk::examples
