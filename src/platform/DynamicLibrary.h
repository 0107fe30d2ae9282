#pragma once
// Loading of shared libraries (tool libraries, driver libraries, the core itself).
#include <string>

namespace mvk::platform {

// An opaque module handle; null means "not loaded".
using ModuleHandle = void*;

// Loads a library immediately and locally. The current working directory is saved and restored
// around the load, so a library that changes it while initialising cannot disturb the host.
// `path` names the file itself (no search path). Before the loader sees it, the file must be a
// regular file holding a shared library for this machine whose segments all lie inside it; a
// truncated or otherwise damaged module is refused instead of crashing the process.
// Null on failure; lastLoadError() tells why.
ModuleHandle loadLibrary(const std::string& path);
// The address of an exported symbol, or null.
void* findSymbol(ModuleHandle module, const std::string& name);
// As loadLibrary, with the library's own folder as the working directory while it loads, so it
// finds the files it opens by relative paths at load time.
ModuleHandle loadLibraryFromItsFolder(const std::string& path);
// Unloads; null is ignored.
void freeLibrary(ModuleHandle module);
// The loader's text for the last failed load or look-up on this thread (may be empty).
std::string lastLoadError();

// The base address of the module that contains `address` (the module handle of the code that
// asks), or null.
ModuleHandle moduleOf(const void* address);
// The file of the module that contains `address`, or the empty string.
std::string modulePathOf(const void* address);

// The file name suffix and the platform folder part of loadable modules.
extern const char* const moduleSuffix;    // ".so"
extern const char* const platformFolder;  // "linux/x64"

} // namespace mvk::platform
