#pragma once
// Finds and loads every library of tools at start-up, finds tools by identifier and tears the
// libraries down at shut-down.
#include "util/Singleton.h"

#include <cstdint>
#include <string>
#include <vector>

namespace mvk::qvn {
class CCameraPlugin;
}

namespace mvk::qvn {
class CoreNode;
}

namespace mvk::qvn::core {

class Instance;
class Library;
class Plugin;
class Tool;

class LibraryManager : public util::Singleton<LibraryManager> {
public:
    // Result codes of loading and creating libraries.
    static constexpr int32_t Loaded = 0;
    static constexpr int32_t CannotLoadModule = 30;
    static constexpr int32_t NoGetVersion = 31;
    static constexpr int32_t WrongVersion = 32;
    static constexpr int32_t NoGetPlugin = 33;
    static constexpr int32_t CannotMakeLibrary = 34;
    static constexpr int32_t AlreadyLoaded = 35;

    LibraryManager() = default;
    // Destroys the libraries from the last to the first.
    ~LibraryManager() override;

    // The built-in tools of the internal library, then every library on disk.
    void startUp();
    // Plug-in modules of the plug-in folder, then *.prm files under the user's and the
    // installed "prm" folders (recursively). Returns 0.
    int32_t loadAllLibraries();
    // 0 when a library was made or there was nothing to load, 35 when the path is already
    // loaded, 30 when creation failed.
    int32_t loadLibrary(const std::string& path);
    // The library made from `path`, or null with `code` telling why (0: nothing to load).
    Library* createLibrary(const std::string& path, int32_t& code);

    // The first tool, libraries in load order and tools in registration order, listing exactly
    // this identifier; null when none does.
    Tool* findTool(const std::string& identifier) const;
    // Makes a tool for a plug-in object in a library; null when either is missing.
    Plugin* addToolToLibrary(Library* library, CCameraPlugin* plugin);
    // Asks every instance still registered with any tool to release itself, each tool's last
    // instance first.
    void releaseLostInstances();

    // A name no instance of any tool other than `self` bears, made from `requested`: a name
    // without trailing digits gets "_" (unless it ends in one) and a two-digit number from 01;
    // trailing digits are counted up from their value, padded to their width. "" stays "".
    std::string makeUniqueName(const std::string& requested, const Instance* self) const;
    // The instance of any tool bearing `name`, or null.
    Instance* findInstance(const std::string& name) const;
    // The instance whose host nodes include `node`, or null.
    Instance* ownerOfNode(const CoreNode* node) const;
    // Every instance of every tool, libraries and tools in order.
    std::vector<Instance*> allInstances() const;

    int libraryCount() const { return static_cast<int>(libraries.size()); }
    Library* library(int index) const;
    Library* findLibrary(const std::string& path) const;

    // Libraries register and unregister themselves.
    void addLibrary(Library* library) { libraries.push_back(library); }
    void removeLibrary(Library* library);

private:
    Library* createModuleLibrary(const std::string& path, int32_t& code);
    Library* createModelLibrary(const std::string& path);
    void loadModelFolder(const std::string& folder, int depth);

    std::vector<Library*> libraries;
};

} // namespace mvk::qvn::core
