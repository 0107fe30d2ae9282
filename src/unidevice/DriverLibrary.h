#pragma once
// The contract between the core and a driver library: two C exports, looked up by name.
//
//   extern "C" int32_t getVersion();   // must answer DriverLibraryVersion
//   extern "C" int32_t loadDevices(mvk::unidevice::DeviceHandler* handler,
//                                  const mvk::unidevice::DriverContext* context);
//
// loadDevices is called once, right after a successful version check; its result is ignored.
// The library creates its Driver objects with the handler it was given (never the singleton:
// the library has a copy of the singleton machinery of its own) and attaches its devices with
// Device::attachTo(-1, handler) after constructing them with registration off. The handler owns
// what the library made: it destroys the devices and then the drivers, through their own
// destroy(), before the core unloads the library at shut-down. The context is only valid during
// the call; copy what you need. Nothing may throw across the boundary.
#include "unidevice/DriverContext.h"

#include <cstdint>

namespace mvk::unidevice {

class DeviceHandler;

constexpr int32_t DriverLibraryVersion = 121;

using GetVersionFunction = int32_t (*)();
using LoadDevicesFunction = int32_t (*)(DeviceHandler* handler, const DriverContext* context);

} // namespace mvk::unidevice
