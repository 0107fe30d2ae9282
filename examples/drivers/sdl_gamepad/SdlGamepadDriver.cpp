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
    dropDisconnected();
    addConnected();
}

void SdlGamepadDriver::dropDisconnected() {
    const std::vector<unidevice::Device*> owned = devices;
    for (unidevice::Device* device : owned) {
        auto* pad = static_cast<SdlGamepadDevice*>(device);
        if (!pad->isConnected())
            pad->destroy();
    }
}

void SdlGamepadDriver::addConnected() {
    const int count = SDL_NumJoysticks();
    for (int i = 0; i < count; ++i) {
        const SDL_JoystickID instance = SDL_JoystickGetDeviceInstanceID(i);
        if (instance < 0 || knows(instance) || unusable.count(instance) != 0)
            continue;
        const std::string name = SdlGamepadDevice::nameAt(i);
        const std::string identity = identityAt(i);
        auto* pad = new SdlGamepadDevice(i, name, devindexFor(name, identity));
        if (!pad->isOpen()) {
            unusable.insert(instance);
            pad->destroy();
            continue;
        }
        if (!identity.empty())
            rememberedDevindex[identity] = pad->devindex();
        pad->attachTo(placeFor(*pad), handler());
        addDevice(pad);
    }
}

bool SdlGamepadDriver::knows(SDL_JoystickID instance) const {
    for (unidevice::Device* device : devices)
        if (static_cast<SdlGamepadDevice*>(device)->instanceId() == instance)
            return true;
    return false;
}

int32_t SdlGamepadDriver::devindexFor(const std::string& name, const std::string& identity) const {
    if (!identity.empty()) {
        const auto known = rememberedDevindex.find(identity);
        if (known != rememberedDevindex.end() && handler()->device(name, known->second) == nullptr)
            return known->second;
    }
    int32_t devindex = 0;
    while (handler()->device(name, devindex) != nullptr)
        ++devindex;
    return devindex;
}

int32_t SdlGamepadDriver::placeFor(const unidevice::Device& pad) const {
    // A binding without devindex lands on the first device of its name, so devices of one name
    // stay in devindex order: a returning first controller goes back in front of the others.
    const unidevice::DeviceHandler* devices = handler();
    for (int32_t i = 0; i < devices->deviceCount(); ++i) {
        const unidevice::Device* other = devices->device(i);
        if (other->name() == pad.name() && other->devindex() > pad.devindex())
            return i;
    }
    return -1;
}

std::string SdlGamepadDriver::identityAt(int sdlDeviceIndex) {
    // Two controllers of one model share name and GUID; only a path tells them apart. Virtual
    // controllers have none and fall back to the lowest free devindex.
    const char* path = SDL_JoystickPathForIndex(sdlDeviceIndex);
    return path != nullptr ? path : "";
}

} // namespace mvk::examples
