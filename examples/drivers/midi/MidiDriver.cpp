#include "MidiDriver.h"

#include "../common/DriverLog.h"
#include "MidiDevice.h"
#include "unidevice/DeviceHandler.h"

namespace mvk::examples {

MidiDriver::MidiDriver(unidevice::DeviceHandler* handler) : ListDriver("midi", handler) {
    refresh();
    const std::string backs = watcher.backEnds();
    logLine("MIDI: " + (backs.empty() ? std::string("no sequencer or JACK server found")
                                      : "reading ports of " + backs));
}

MidiDriver::~MidiDriver() {
    const std::vector<unidevice::Device*> owned = devices;
    for (auto it = owned.rbegin(); it != owned.rend(); ++it)
        (*it)->destroy();
}

bool MidiDriver::update() {
    refresh();
    return updateDevices(0);
}

int32_t MidiDriver::prepareDetection() {
    refresh();
    return prepareDevices(0);
}

unidevice::Control* MidiDriver::detect() {
    refresh();
    return detectAmongDevices(0);
}

void MidiDriver::refresh() {
    watcher.touch();
    std::vector<MidiPorts::Port> ports;
    if (!watcher.changes(ports))
        return;
    for (const MidiPorts::Port& port : ports) {
        MidiDevice* device = deviceWith(port.inbox);
        if (device == nullptr) {
            // Identities of one name are made in ordinal order, so devindex follows it.
            int32_t devindex = 0;
            while (handler()->device(port.name, devindex) != nullptr)
                ++devindex;
            device = new MidiDevice(port.name, devindex, port.inbox);
            device->attachTo(placeFor(*device), handler());
            addDevice(device);
        }
        device->setConnected(port.present);
    }
    for (unidevice::Device* device : devices) {
        auto* midi = static_cast<MidiDevice*>(device);
        if (midi->inbox()->takeRefusal())
            logLine("MIDI: " + midi->name() + " has learned " +
                    std::to_string(MidiPorts::ControlCap) +
                    " controls; further messages are ignored");
    }
}

MidiDevice* MidiDriver::deviceWith(const std::shared_ptr<LatestValues>& inbox) const {
    for (unidevice::Device* device : devices)
        if (static_cast<MidiDevice*>(device)->inbox() == inbox)
            return static_cast<MidiDevice*>(device);
    return nullptr;
}

int32_t MidiDriver::placeFor(const unidevice::Device& device) const {
    // A binding without devindex lands on the first device of its name.
    const unidevice::DeviceHandler* all = handler();
    for (int32_t i = 0; i < all->deviceCount(); ++i) {
        const unidevice::Device* other = all->device(i);
        if (other->name() == device.name() && other->devindex() > device.devindex())
            return i;
    }
    return -1;
}

} // namespace mvk::examples
