#include "MidiDriver.h"

#include "../common/DriverExports.h"
#include "../common/DriverLog.h"
#include "MidiDevice.h"
#include "unidevice/DeviceHandler.h"

#include <dlfcn.h>

namespace mvk::examples {

namespace {

// libjack allocates process-wide state when it is loaded and never frees it when it is
// unloaded: every detach that unloaded this driver, and libjack with it, lost that state, and
// a reloaded libjack starts its process-wide set-up again. Once this driver has loaded it,
// libjack stays for the life of the process.
void keepJackLoaded() {
    static const bool kept =
        dlopen("libjack.so.0", RTLD_NOW | RTLD_NOLOAD | RTLD_NODELETE) != nullptr;
    (void)kept;
}

}  // namespace

MidiDriver::MidiDriver(unidevice::DeviceHandler* handler) : ListDriver("midi", handler) {
    keepJackLoaded();
    refresh();
    const std::string backs = watcher.backEnds();
    logLine("MIDI: " + (backs.empty() ? std::string("no sequencer or JACK server found")
                                      : "reading ports of " + backs));
}

MidiDriver::~MidiDriver() {
    destroyDevices();
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
            device = new MidiDevice(port.name, devindexFor(port.name), port.inbox);
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

// The handler owns the driver from here on; destroying it stops the port watcher and closes
// every open port before the core unloads this library.
bool makeDriver(unidevice::DeviceHandler& handler, const unidevice::DriverContext*) {
    new MidiDriver(&handler);
    return true;
}

} // namespace mvk::examples
