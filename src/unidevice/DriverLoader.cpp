#include "unidevice/DriverLoader.h"

#include "platform/FileSystem.h"
#include "unidevice/DeviceHandler.h"
#include "unidevice/DriverLibrary.h"
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
    auto loadDevices =
        reinterpret_cast<LoadDevicesFunction>(platform::findSymbol(module, "loadDevices"));
    DriverContext copy = context;
    loadDevices(handler != nullptr ? handler : DeviceHandler::instance(), &copy);
    return Loaded;
}

void DriverLoader::freeAll() {
    for (platform::ModuleHandle module : modules)
        platform::freeLibrary(module);
    modules.clear();
}

} // namespace mvk::unidevice
