#include "CoreModule.h"

#include "platform/DynamicLibrary.h"
#include "platform/ShellFolders.h"

#include <filesystem>

namespace qvn::host {

CoreModule::~CoreModule() { unload(); }

bool CoreModule::load(const std::string& path) {
    unload();
    module = mvk::platform::loadLibrary(path);
    if (module == nullptr) {
        lastError = "cannot load " + path + ": " + mvk::platform::lastLoadError();
        return false;
    }
    versionFunction = reinterpret_cast<mvk::qvn::CoreGetVersionFunction>(
        mvk::platform::findSymbol(module, "getVersion"));
    attachFunction = reinterpret_cast<mvk::qvn::CoreAttachFunction>(
        mvk::platform::findSymbol(module, "attach"));
    detachFunction = reinterpret_cast<mvk::qvn::CoreDetachFunction>(
        mvk::platform::findSymbol(module, "detach"));
    if (versionFunction == nullptr || attachFunction == nullptr || detachFunction == nullptr) {
        lastError = path + " does not export getVersion, attach and detach";
        unload();
        return false;
    }
    return true;
}

void CoreModule::unload() {
    mvk::platform::freeLibrary(module);
    module = nullptr;
    versionFunction = nullptr;
    attachFunction = nullptr;
    detachFunction = nullptr;
}

std::string CoreModule::defaultPath() {
    const std::filesystem::path program = mvk::platform::executablePath();
    return (program.parent_path().parent_path() / "lib" / "libquorvane-core.so").string();
}

} // namespace qvn::host
