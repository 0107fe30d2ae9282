// The driver library "simulatedgamepad": one gamepad whose controls follow the script file
// named by $QUORVANE_SIMULATED_GAMEPAD, timed by the core's clock from the moment the library
// was loaded, so a take recorded from it in simulated time is the same on every run. Without
// the variable (or with an unreadable or empty script) it adds its driver but no device, so a
// normal installation shows no phantom controller.
#include "../common/DriverExports.h"
#include "../common/GamepadLayout.h"
#include "../common/ListDriver.h"
#include "../common/SampledDevice.h"
#include "GamepadScript.h"
#include "unidevice/DeviceHandler.h"

#include <chrono>
#include <cstdlib>

using namespace mvk::unidevice;

namespace mvk::examples {

namespace {

using Clock = uint32_t (*)();

// For a core that hands out no clock: milliseconds of the steady clock.
uint32_t steadyMilliseconds() {
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<uint32_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
}

class SimulatedGamepadDevice : public SampledDevice {
public:
    SimulatedGamepadDevice(GamepadScript script, Clock clock)
        : SampledDevice("Simulated Gamepad", 0), script(std::move(script)), clock(clock),
          start(clock()) {
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
        // Unsigned difference: the counter may wrap during a session.
        const uint32_t elapsed = clock() - start;
        return script.valueAt(scriptNames[static_cast<size_t>(controlIndex)], elapsed * 0.001);
    }

private:
    GamepadScript script;
    std::vector<std::string> scriptNames;
    Clock clock;
    uint32_t start;
};

} // namespace

bool makeDriver(DeviceHandler& handler, const DriverContext* context) {
    auto* driver = new ListDriver("simulatedgamepad", &handler);
    const char* path = std::getenv("QUORVANE_SIMULATED_GAMEPAD");
    if (path == nullptr || *path == '\0')
        return true;
    GamepadScript script = GamepadScript::load(path);
    if (script.isEmpty())
        return true;
    const Clock clock = context != nullptr && context->tickCount != nullptr ? context->tickCount
                                                                            : &steadyMilliseconds;
    auto* pad = new SimulatedGamepadDevice(std::move(script), clock);
    pad->attachTo(-1, &handler);
    driver->addDevice(pad);
    return true;
}

} // namespace mvk::examples
