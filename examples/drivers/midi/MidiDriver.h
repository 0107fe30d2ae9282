#pragma once
// The driver "midi": one device per MIDI input port, named after the port. Ports are watched
// on a thread of their own (see MidiPorts); the host's poll only takes the watcher's latest list
// and reads the devices' slots.
#include "../common/ListDriver.h"
#include "MidiPorts.h"

namespace mvk::examples {

class MidiDevice;

class MidiDriver : public ListDriver {
public:
    explicit MidiDriver(unidevice::DeviceHandler* handler);
    ~MidiDriver() override;

    bool update() override;
    int32_t prepareDetection() override;
    unidevice::Control* detect() override;

    const MidiPorts& ports() const { return watcher; }

private:
    // Makes devices for new port identities and tells every device whether its port is there.
    void refresh();
    MidiDevice* deviceWith(const std::shared_ptr<LatestValues>& inbox) const;

    MidiPorts watcher;
};

} // namespace mvk::examples
