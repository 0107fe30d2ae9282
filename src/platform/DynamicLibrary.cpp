#include "platform/DynamicLibrary.h"

#include <dlfcn.h>
#include <unistd.h>

#include <climits>
#include <vector>

namespace mvk::platform {

const char* const moduleSuffix = ".so";
const char* const platformFolder = "linux/x64";

namespace {

thread_local std::string lastError;

std::string currentDirectory() {
    std::vector<char> buffer(PATH_MAX + 1, '\0');
    if (getcwd(buffer.data(), buffer.size()) == nullptr)
        return {};
    return buffer.data();
}

void rememberError() {
    const char* text = dlerror();
    lastError = text ? text : "";
}

} // namespace

ModuleHandle loadLibrary(const std::string& path) {
    const std::string saved = currentDirectory();
    dlerror();
    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr)
        rememberError();
    if (!saved.empty() && currentDirectory() != saved && chdir(saved.c_str()) != 0)
        lastError = "could not restore the working directory";
    return handle;
}

ModuleHandle loadLibraryFromItsFolder(const std::string& path) {
    const std::string saved = currentDirectory();
    const size_t slash = path.find_last_of('/');
    if (slash != std::string::npos && slash > 0 && chdir(path.substr(0, slash).c_str()) != 0)
        lastError = "could not enter the library's folder";
    dlerror();
    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr)
        rememberError();
    if (!saved.empty() && chdir(saved.c_str()) != 0)
        lastError = "could not restore the working directory";
    return handle;
}

void* findSymbol(ModuleHandle module, const std::string& name) {
    if (module == nullptr)
        return nullptr;
    dlerror();
    void* address = dlsym(module, name.c_str());
    if (address == nullptr)
        rememberError();
    return address;
}

void freeLibrary(ModuleHandle module) {
    if (module != nullptr)
        dlclose(module);
}

std::string lastLoadError() { return lastError; }

ModuleHandle moduleOf(const void* address) {
    Dl_info info{};
    if (dladdr(address, &info) == 0)
        return nullptr;
    return info.dli_fbase;
}

std::string modulePathOf(const void* address) {
    Dl_info info{};
    if (dladdr(address, &info) == 0 || info.dli_fname == nullptr)
        return {};
    return info.dli_fname;
}

} // namespace mvk::platform
