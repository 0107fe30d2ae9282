#pragma once
// Loads driver libraries and keeps them loaded until the input layer shuts down.
#include "platform/DynamicLibrary.h"
#include "unidevice/DriverContext.h"

#include <string>
#include <utility>
#include <vector>

namespace mvk::unidevice {

class DeviceHandler;

class DriverLoader {
public:
    // What became of one library file.
    enum Result {
        Loaded = 0,
        NotLoadable = 1,     // not a module the system can load
        NoVersion = 2,       // no "getVersion" export
        WrongVersion = 3,    // "getVersion" answered something other than 121
        NoLoadDevices = 4,   // no "loadDevices" export
    };

    DriverLoader() = default;
    DriverLoader(const DriverLoader&) = delete;
    DriverLoader& operator=(const DriverLoader&) = delete;
    // Does not unload: objects made by the libraries may still be alive. Call freeAll().
    ~DriverLoader() = default;

    // Loads every module file directly in `folder` (sorted by name) into `handler` (the
    // singleton when null). Returns how many libraries were taken.
    int loadFolder(const std::string& folder, const DriverContext& context,
                   DeviceHandler* handler = nullptr);
    // Loads one library; everything but Loaded leaves it unloaded.
    Result loadLibrary(const std::string& path, const DriverContext& context,
                       DeviceHandler* handler = nullptr);
    // Unloads every library taken, in loading order, and forgets them. The devices and drivers
    // they made must be gone by then.
    void freeAll();

    // Hands the settings to every library taken that exports "applySettings", in loading order.
    void applySettings(const std::vector<std::pair<std::string, std::string>>& settings) const;

    int count() const { return static_cast<int>(modules.size()); }
    // The file of each library taken, in loading order.
    const std::vector<std::string>& files() const { return paths; }

private:
    static Result check(platform::ModuleHandle module);

    std::vector<platform::ModuleHandle> modules;
    std::vector<std::string> paths;
};

} // namespace mvk::unidevice
