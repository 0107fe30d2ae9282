#include "unidevice/WinDriver.h"

namespace mvk::unidevice {

WinDriver::WinDriver(DeviceHandler* handler) : Driver("windriver", handler) {}

bool WinDriver::update() { return updateDevices(windowParam); }

int32_t WinDriver::prepareDetection() { return prepareDevices(windowParam); }

Control* WinDriver::detect() { return detectAmongDevices(windowParam); }

bool WinDriver::addDevice(Device* device) { return appendToDevices(device); }

bool WinDriver::removeDevice(Device* device) { return eraseFromDevices(device); }

Device* WinDriver::device(int32_t index) const { return deviceAt(index); }

int32_t WinDriver::deviceCount() const { return static_cast<int32_t>(devices.size()); }

bool WinDriver::activate() { return activateDevices(windowParam); }

bool WinDriver::deactivate() { return deactivateDevices(windowParam); }

} // namespace mvk::unidevice
