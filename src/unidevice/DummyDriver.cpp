#include "unidevice/DummyDriver.h"

namespace mvk::unidevice {

DummyDriver::DummyDriver(DeviceHandler* handler) : Driver("dummydriver", handler) {}

bool DummyDriver::update() { return updateDevices(0); }

int32_t DummyDriver::prepareDetection() { return prepareDevices(0); }

Control* DummyDriver::detect() { return detectAmongDevices(0); }

bool DummyDriver::addDevice(Device* device) { return appendToDevices(device); }

bool DummyDriver::removeDevice(Device* device) { return eraseFromDevices(device); }

Device* DummyDriver::device(int32_t index) const { return deviceAt(index); }

int32_t DummyDriver::deviceCount() const { return static_cast<int32_t>(devices.size()); }

bool DummyDriver::activate() { return activateDevices(0); }

bool DummyDriver::deactivate() { return deactivateDevices(0); }

} // namespace mvk::unidevice
