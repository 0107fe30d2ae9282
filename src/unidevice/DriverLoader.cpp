#include "unidevice/DriverLoader.h"

#include "platform/FileSystem.h"
#include "unidevice/DeviceHandler.h"
#include "unidevice/DriverLibrary.h"
#include "unidevice/Driver.h"
#include "util/Log.h"

namespace mvk::unidevice {

int DriverLoader::loadFolder(const std::string& folder, const DriverContext& context,
                             DeviceHandler* handler) {
    const std::string prefix = folder + "/";
    const std::string pattern = std::string("*") + platform::moduleSuffix;
    int taken = 0;
    for (const std::string& name : platform::listFiles(prefix, pattern))
        if (loadLibrary(prefix + name, context, handler) == Loaded)
            ++taken;
    return taken;
}

DriverLoader::Result DriverLoader::check(platform::ModuleHandle module) {
    auto getVersion =
        reinterpret_cast<GetVersionFunction>(platform::findSymbol(module, "getVersion"));
    if (getVersion == nullptr)
        return NoVersion;
    if (getVersion() != DriverLibraryVersion)
        return WrongVersion;
    if (platform::findSymbol(module, "loadDevices") == nullptr)
        return NoLoadDevices;
    return Loaded;
}

DriverLoader::Result DriverLoader::loadLibrary(const std::string& path, const DriverContext& context,
                                               DeviceHandler* handler) {
    util::Log section("load Unidevice dynamic library", util::Log::Notice);
    section.write("library file", path, -1);
    platform::ModuleHandle module = platform::loadLibrary(path);
    if (module == nullptr)
        return NotLoadable;
    const Result result = check(module);
    if (result != Loaded) {
        platform::freeLibrary(module);
        return result;
    }
    modules.push_back(module);
    paths.push_back(path);
    auto loadDevices =
        reinterpret_cast<LoadDevicesFunction>(platform::findSymbol(module, "loadDevices"));
    DriverContext copy = context;
    DeviceHandler* into = handler != nullptr ? handler : DeviceHandler::instance();
    const int32_t before = into->driverCount();
    loadDevices(into, &copy);
    // Which drivers the library brought, so a log shows what input a session had.
    std::string added;
    for (int32_t i = before; i < into->driverCount(); ++i)
        added += (added.empty() ? "" : ", ") + into->driver(i)->name();
    section.write("loaded with drivers", added.empty() ? std::string("(none)") : added, -1);
    return Loaded;
}

void DriverLoader::freeAll() {
    for (platform::ModuleHandle module : modules)
        platform::freeLibrary(module);
    modules.clear();
    paths.clear();
}

void DriverLoader::applySettings(
    const std::vector<std::pair<std::string, std::string>>& settings) const {
    std::vector<DriverSetting> passed;
    passed.reserve(settings.size());
    for (const auto& [key, value] : settings)
        passed.push_back(DriverSetting{key.c_str(), value.c_str()});
    for (platform::ModuleHandle module : modules)
        if (auto apply = reinterpret_cast<ApplySettingsFunction>(
                platform::findSymbol(module, "applySettings")))
            apply(passed.data(), static_cast<int32_t>(passed.size()));
}

} // namespace mvk::unidevice
