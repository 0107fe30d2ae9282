#pragma once
// The driver "osc": listens for OSC control surfaces and sensor apps on the UDP port set in the
// main preferences. It is off until the preferences switch it on. Each port it has listened on
// keeps its device for the session, so bindings made on a port survive switching away from it
// and back.
#include "../common/ListDriver.h"
#include "OscListener.h"

#include <cstdint>
#include <memory>
#include <string>

namespace mvk::examples {

class OscDevice;

struct OscSettings {
    bool enabled = false;
    uint16_t port = 9000;
    bool loopbackOnly = false;
};

class OscDriver : public ListDriver {
public:
    explicit OscDriver(unidevice::DeviceHandler* handler);
    ~OscDriver() override;

    // The driver of this library, or null before loading and after shut-down.
    static OscDriver* live();

    // Starts, moves or stops listening. Host thread.
    void configure(const OscSettings& settings);
    const OscSettings& wanted() const { return applied; }
    bool update() override;
    int32_t prepareDetection() override;
    // The device listening now, or null.
    OscDevice* listening() const { return current; }
    const OscListener& listener() const { return socket; }

private:
    OscDevice* deviceFor(uint16_t port);
    void reportRefusals();

    OscSettings applied;
    OscListener socket;
    OscDevice* current = nullptr;
};

} // namespace mvk::examples
