#include "SdlGamepadDriver.h"

#include "SdlGamepadDevice.h"
#include "unidevice/DeviceHandler.h"

#include <vector>

namespace mvk::examples {

namespace {

constexpr Uint32 Subsystems = SDL_INIT_JOYSTICK | SDL_INIT_GAMECONTROLLER;

} // namespace

SdlGamepadDriver* SdlGamepadDriver::create(unidevice::DeviceHandler* handler) {
    if (handler == nullptr)
        return nullptr;
    // The host owns the process's signals; SDL must not install handlers of its own.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    const bool firstUser = SDL_WasInit(SDL_INIT_JOYSTICK) == 0;
    if (SDL_InitSubSystem(Subsystems) != 0)
        return nullptr;
    return new SdlGamepadDriver(handler, firstUser);
}

SdlGamepadDriver::SdlGamepadDriver(unidevice::DeviceHandler* handler, bool ownsEvents)
    : ListDriver("sdlgamepad", handler), ownsEvents(ownsEvents) {
    // Controllers are polled, never read from SDL's event queue. When nobody else uses the
    // joystick layer, keep its events out of the queue so it cannot fill up unread.
    if (ownsEvents) {
        SDL_JoystickEventState(SDL_IGNORE);
        SDL_GameControllerEventState(SDL_IGNORE);
    }
    SDL_JoystickUpdate();
    addConnected();
}

SdlGamepadDriver::~SdlGamepadDriver() {
    const std::vector<unidevice::Device*> owned = devices;
    for (auto it = owned.rbegin(); it != owned.rend(); ++it)
        (*it)->destroy();
    SDL_QuitSubSystem(Subsystems);
}

bool SdlGamepadDriver::update() {
    SDL_JoystickUpdate();
    refresh();
    return updateDevices(0);
}

int32_t SdlGamepadDriver::prepareDetection() {
    SDL_JoystickUpdate();
    refresh();
    return prepareDevices(0);
}

unidevice::Control* SdlGamepadDriver::detect() {
    SDL_JoystickUpdate();
    return detectAmongDevices(0);
}

void SdlGamepadDriver::refresh() {
    letGoOfDisconnected();
    addConnected();
}

void SdlGamepadDriver::letGoOfDisconnected() {
    for (unidevice::Device* device : devices) {
        auto* pad = static_cast<SdlGamepadDevice*>(device);
        if (pad->isOpen() && !pad->isConnected())
            pad->disconnect();
    }
}

void SdlGamepadDriver::addConnected() {
    const int count = SDL_NumJoysticks();
    for (int i = 0; i < count; ++i) {
        const SDL_JoystickID instance = SDL_JoystickGetDeviceInstanceID(i);
        if (instance < 0 || knows(instance) || unusable.count(instance) != 0)
            continue;
        takeOver(i, instance);
    }
}

void SdlGamepadDriver::takeOver(int sdlDeviceIndex, SDL_JoystickID instance) {
    const std::string name = SdlGamepadDevice::nameAt(sdlDeviceIndex);
    if (SdlGamepadDevice* waiting = waitingFor(SdlGamepadDevice::guidAt(sdlDeviceIndex), name)) {
        if (!waiting->reconnect(sdlDeviceIndex))
            unusable.insert(instance);
        return;
    }
    auto* pad = new SdlGamepadDevice(sdlDeviceIndex, name, devindexFor(name));
    if (!pad->isOpen()) {
        unusable.insert(instance);
        pad->destroy();
        return;
    }
    pad->attachTo(placeFor(*pad), handler());
    addDevice(pad);
}

bool SdlGamepadDriver::knows(SDL_JoystickID instance) const {
    for (unidevice::Device* device : devices)
        if (static_cast<SdlGamepadDevice*>(device)->instanceId() == instance)
            return true;
    return false;
}

SdlGamepadDevice* SdlGamepadDriver::waitingFor(const std::string& guid,
                                               const std::string& name) const {
    SdlGamepadDevice* first = nullptr;
    for (unidevice::Device* device : devices) {
        auto* pad = static_cast<SdlGamepadDevice*>(device);
        if (pad->isOpen() || pad->guid() != guid || pad->name() != name)
            continue;
        if (first == nullptr || pad->devindex() < first->devindex())
            first = pad;
    }
    return first;
}

int32_t SdlGamepadDriver::devindexFor(const std::string& name) const {
    int32_t devindex = 0;
    while (handler()->device(name, devindex) != nullptr)
        ++devindex;
    return devindex;
}

int32_t SdlGamepadDriver::placeFor(const unidevice::Device& pad) const {
    // A binding without devindex lands on the first device of its name, so devices of one name
    // stay in devindex order.
    const unidevice::DeviceHandler* devices = handler();
    for (int32_t i = 0; i < devices->deviceCount(); ++i) {
        const unidevice::Device* other = devices->device(i);
        if (other->name() == pad.name() && other->devindex() > pad.devindex())
            return i;
    }
    return -1;
}

} // namespace mvk::examples
