#include "SdlGamepadDriver.h"

#include "../common/DriverExports.h"
#include "SdlGamepadDevice.h"
#include "unidevice/DeviceHandler.h"

#include <dlfcn.h>

#include <vector>

namespace mvk::examples {

namespace {

constexpr Uint32 Subsystems = SDL_INIT_JOYSTICK | SDL_INIT_GAMECONTROLLER;

// Each time SDL is loaded it takes a thread-specific data key and never gives it back, and the
// process has only so many. The core unloads this library, and SDL with it, at every detach;
// so once SDL has been started it stays loaded, and later starts reuse what it holds.
void keepSdlLoaded() {
    Dl_info info{};
    if (dladdr(reinterpret_cast<void*>(&SDL_InitSubSystem), &info) == 0 ||
        info.dli_fname == nullptr)
        return;
    dlopen(info.dli_fname, RTLD_NOW | RTLD_NOLOAD | RTLD_NODELETE);
}

} // namespace

SdlGamepadDriver* SdlGamepadDriver::create(unidevice::DeviceHandler* handler) {
    if (handler == nullptr)
        return nullptr;
    const bool firstUser = SDL_WasInit(SDL_INIT_JOYSTICK) == 0;
    const bool startsSdl = SDL_WasInit(SDL_INIT_EVERYTHING) == 0;
    // The host owns the process's signals; SDL must not install handlers of its own. A host
    // that runs SDL itself has made that choice already.
    if (startsSdl) {
        keepSdlLoaded();
        SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    }
    if (SDL_InitSubSystem(Subsystems) != 0) {
        if (startsSdl)
            SDL_Quit();
        return nullptr;
    }
    return new SdlGamepadDriver(handler, firstUser, startsSdl);
}

SdlGamepadDriver::SdlGamepadDriver(unidevice::DeviceHandler* handler, bool ownsEvents, bool ownsSdl)
    : ListDriver("sdlgamepad", handler), ownsEvents(ownsEvents), ownsSdl(ownsSdl) {
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
    destroyDevices();
    SDL_QuitSubSystem(Subsystems);
    // Stopping subsystems keeps SDL's own state (hints, the mapping database, locks). When this
    // driver started SDL and nothing else runs on it now, that goes too: the core may unload
    // this library, and SDL with it, on every detach.
    if (ownsSdl && SDL_WasInit(SDL_INIT_EVERYTHING) == 0)
        SDL_Quit();
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

bool makeDriver(unidevice::DeviceHandler& handler, const unidevice::DriverContext*) {
    return SdlGamepadDriver::create(&handler) != nullptr;
}

} // namespace mvk::examples
