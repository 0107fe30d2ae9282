// The driver library "simulatedgamepad": one gamepad whose controls follow the script file
// named by $QUORVANE_SIMULATED_GAMEPAD, timed from the moment the library was loaded. Without
// the variable (or with an unreadable or empty script) it adds its driver but no device, so a
// normal installation shows no phantom controller.
#include "../common/GamepadLayout.h"
#include "../common/ListDriver.h"
#include "../common/SampledDevice.h"
#include "GamepadScript.h"
#include "unidevice/DeviceHandler.h"
#include "unidevice/DriverLibrary.h"

#include <chrono>
#include <cstdlib>

using namespace mvk::unidevice;

namespace mvk::examples {

namespace {

class SimulatedGamepadDevice : public SampledDevice {
public:
    explicit SimulatedGamepadDevice(GamepadScript script)
        : SampledDevice("Simulated Gamepad", 0), script(std::move(script)),
          start(std::chrono::steady_clock::now()) {
        for (const GamepadControlSpec& spec : standardGamepadControls()) {
            addControl(spec.type, spec.index, spec.description, spec.kind, spec.threshold);
            scriptNames.push_back(spec.scriptName);
        }
    }
    ~SimulatedGamepadDevice() override { destroyControls(); }

protected:
    double sample(int32_t controlIndex) const override {
        if (controlIndex < 0 || controlIndex >= static_cast<int32_t>(scriptNames.size()))
            return 0.0;
        const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
        return script.valueAt(scriptNames[static_cast<size_t>(controlIndex)], elapsed.count());
    }

private:
    GamepadScript script;
    std::vector<std::string> scriptNames;
    std::chrono::steady_clock::time_point start;
};

} // namespace

} // namespace mvk::examples

extern "C" __attribute__((visibility("default"))) int32_t getVersion() {
    return DriverLibraryVersion;
}

extern "C" __attribute__((visibility("default"))) int32_t loadDevices(DeviceHandler* handler,
                                                                      const DriverContext*) {
    using namespace mvk::examples;
    if (handler == nullptr)
        return 1;
    auto* driver = new ListDriver("simulatedgamepad", handler);
    const char* path = std::getenv("QUORVANE_SIMULATED_GAMEPAD");
    if (path == nullptr || *path == '\0')
        return 0;
    GamepadScript script = GamepadScript::load(path);
    if (script.isEmpty())
        return 0;
    auto* pad = new SimulatedGamepadDevice(std::move(script));
    pad->attachTo(-1, handler);
    driver->addDevice(pad);
    return 0;
}
