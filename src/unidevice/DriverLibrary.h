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
//
// A library may also export
//
//   extern "C" void applySettings(const mvk::unidevice::DriverSetting* settings, int32_t count);
//
// which the core calls on the host's thread once the main settings are read, and again whenever
// the user changes one of the settings it passes (keys such as "osc.enabled"). The array and its
// strings are only valid during the call. Libraries without it are never told.
#include "unidevice/DriverContext.h"

#include <cstdint>

namespace mvk::unidevice {

class DeviceHandler;

constexpr int32_t DriverLibraryVersion = 121;

using GetVersionFunction = int32_t (*)();
// One main setting as a driver library sees it: a dotted key and its value as text.
struct DriverSetting {
    const char* key;
    const char* value;
};

using ApplySettingsFunction = void (*)(const DriverSetting* settings, int32_t count);
using LoadDevicesFunction = int32_t (*)(DeviceHandler* handler, const DriverContext* context);

} // namespace mvk::unidevice
