#pragma once
// The device "Keyboard": one finite control per registered key, fed by the application's
// keyboard hook while the device is active. Keys never stop at this hook; taking keys away from
// the host is the core's own hook's business.
#include "platform/DynamicLibrary.h"
#include "unidevice/Device.h"

#include <array>
#include <memory>
#include <string>
#include <vector>

namespace mvk::platform {
class KeyboardHook;
struct KeyStroke;
} // namespace mvk::platform

namespace mvk::unidevice {

class WINHOOK_KeyboardDevice : public Device {
public:
    static constexpr const char* DeviceName = "Keyboard";
    static constexpr int32_t TableSize = 256;

    // Joins the handler singleton and "dummydriver" (when present), builds the key table and
    // registers the standard keys.
    explicit WINHOOK_KeyboardDevice(platform::ModuleHandle module);
    // Removes its hook; the key controls die with the device.
    ~WINHOOK_KeyboardDevice() override;

    // The live keyboard device (the most recently made one), or null.
    static WINHOOK_KeyboardDevice* live();

    // Registers a key: names its table entry and exposes it as a control. An empty name stays
    // the type; the description becomes "Key_" and the code. A code outside 0..255 or one
    // already registered is ignored.
    void addKey(int32_t code, const std::string& name);
    // A key the host keeps during recording: registered without a name (shown as "Key_<code>")
    // when no standard key has that code, so it can still be bound.
    void unlockKey(int32_t code);
    // The table entry of a virtual-key code (registered or not), or null outside 0..255.
    Control* key(int32_t code) const;

    int32_t controlCount() const override;
    Control* control(int32_t index) const override;
    // The hook updates the keys; nothing to poll.
    bool update(uintptr_t param) override;
    bool prepareDetection(uintptr_t param) override;
    // The registered key with the greatest change that has moved and is not excluded.
    Control* detect(uintptr_t param, int32_t flag) override;
    void reset() override;
    // Resets the keys and installs the hook.
    bool activate(uintptr_t param) override;
    // Removes the hook.
    bool deactivate(uintptr_t param) override;

    bool isHooked() const { return hook != nullptr; }
    platform::ModuleHandle module() const { return moduleHandle; }

    // The hook procedure: every key message updates its table entry (previous takes current;
    // 0 on release, 1 otherwise); a key without a code updates nothing. Always passes the key
    // on.
    bool onKeyStroke(const platform::KeyStroke& stroke);

private:
    void registerStandardKeys();

    platform::ModuleHandle moduleHandle;
    platform::KeyboardHook* hook = nullptr;
    std::array<std::unique_ptr<Control>, TableSize> table;
    std::array<bool, TableSize> used{};
    std::vector<Control*> registered;
};

} // namespace mvk::unidevice
