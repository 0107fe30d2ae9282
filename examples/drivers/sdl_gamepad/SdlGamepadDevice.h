#pragma once
// One connected controller. Controllers SDL knows a gamepad mapping for expose the standard
// gamepad layout; any other joystick exposes its raw axes, buttons and hats.
#include "../common/SampledDevice.h"

#include <SDL2/SDL.h>

#include <string>
#include <vector>

namespace mvk::examples {

// A controller that goes away stays as a device with its controls resting, so whatever is bound
// to them stays bound; the driver hands it the controller that comes back in its place.
class SdlGamepadDevice : public SampledDevice {
public:
    // Opens the controller at SDL's device index; check isOpen() afterwards.
    SdlGamepadDevice(int sdlDeviceIndex, const std::string& name, int32_t devindex);
    ~SdlGamepadDevice() override;

    bool isOpen() const { return joystick != nullptr; }
    SDL_JoystickID instanceId() const { return instance; }
    bool isConnected() const override;
    // What tells controllers apart across a reconnection: the GUID SDL reports (a hash of the
    // model) and the device name.
    const std::string& guid() const { return guidText; }

    // Lets go of a controller that went away; the controls rest from now on.
    void disconnect();
    // Takes over the controller at SDL's device index; its controls go on reading it. False
    // (still disconnected) when it does not open.
    bool reconnect(int sdlDeviceIndex);

    // The name SDL reports for a device index, or a generic one.
    static std::string nameAt(int sdlDeviceIndex);
    static std::string guidAt(int sdlDeviceIndex);

protected:
    double sample(int32_t controlIndex) const override;

private:
    enum class Reading {
        Absent,
        ControllerAxis,
        ControllerTrigger,
        ControllerButton,
        ControllerDpadX,
        ControllerDpadY,
        JoystickAxis,
        JoystickButton,
        JoystickHatX,
        JoystickHatY
    };
    struct Source {
        Reading reading;
        int sdlIndex;
    };
    // One control as the open controller offers it.
    struct Offer {
        Source source;
        std::string type;
        int32_t index;
        std::string description;
        uint32_t kind;
        double threshold;
    };

    bool open(int sdlDeviceIndex);
    void close();
    std::vector<Offer> offers() const;
    void addGamepadOffers(std::vector<Offer>& made) const;
    void addJoystickOffers(std::vector<Offer>& made) const;
    double readController(const Source& source) const;
    double readJoystick(const Source& source) const;

    SDL_GameController* controller = nullptr;
    SDL_Joystick* joystick = nullptr;
    SDL_JoystickID instance = -1;
    std::string guidText;
    // Where each control reads from, by control index.
    std::vector<Source> sources;
};

} // namespace mvk::examples
