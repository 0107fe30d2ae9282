#include "core/libraries/LibraryManager.h"

#include "core/Paths.h"
#include "core/instances/Instance.h"
#include "core/libraries/CoreLibrary.h"
#include "core/libraries/Library.h"
#include "core/libraries/Plugin.h"
#include "core/libraries/Template.h"
#include "core/libraries/Tool.h"
#include "platform/DynamicLibrary.h"
#include "platform/FileSystem.h"
#include "sdk/CCameraPlugin.h"
#include "util/DataChunk.h"
#include "util/Log.h"
#include "util/xml/Element.h"

#include <algorithm>
#include <cctype>
#include <unordered_set>

namespace mvk::qvn::core {

namespace {

// A module that never answers null must not keep the loader busy forever.
constexpr uint32_t MaxPluginsPerModule = 4096;
// Model folders nest this deep at most.
constexpr int MaxFolderDepth = 32;

bool endsWith(const std::string& text, const std::string& suffix) {
    return text.size() >= suffix.size() &&
           text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

std::string folderOf(const std::string& path) {
    const size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

} // namespace

LibraryManager::~LibraryManager() {
    while (!libraries.empty()) {
        Library* last = libraries.back();
        last->destroy();
        // A library leaves the list itself; make sure the loop always ends.
        if (!libraries.empty() && libraries.back() == last)
            libraries.pop_back();
    }
}

void LibraryManager::startUp() {
    CoreLibrary::instance()->registerBuiltInTools();
    loadAllLibraries();
}

int32_t LibraryManager::loadAllLibraries() {
    util::Log log(util::Log::Notice);
    log.write("Loading libraries");
    const std::string pluginFolder = getInstallPath("plugin");
    log.write("plugin path", pluginFolder, -1);
    const std::string pattern = std::string("*") + platform::moduleSuffix;
    for (const std::string& name : platform::listFiles(pluginFolder, pattern))
        loadLibrary(pluginFolder + "/" + name);
    loadModelFolder(getUserDataPath() + "/prm", 0);
    loadModelFolder(getInstallPath("prm"), 0);
    return Loaded;
}

void LibraryManager::loadModelFolder(const std::string& folder, int depth) {
    if (depth > MaxFolderDepth)
        return;
    for (const std::string& name : platform::listFiles(folder, "*.prm"))
        loadLibrary(folder + "/" + name);
    for (const std::string& sub : platform::listFolders(folder))
        loadModelFolder(folder + "/" + sub, depth + 1);
}

int32_t LibraryManager::loadLibrary(const std::string& path) {
    util::Log log(util::Log::Notice);
    log.write("Loading library");
    log.write("path", path, -1);
    if (findLibrary(path) != nullptr) {
        log.write("Library already exists. skipping load");
        return AlreadyLoaded;
    }
    log.write("creating library");
    int32_t code = 0;
    if (createLibrary(path, code) != nullptr)
        return Loaded;
    log.write("Library creation failed", code, -1);
    return code >= 2 && code <= 9999 ? CannotLoadModule : Loaded;
}

Library* LibraryManager::createLibrary(const std::string& path, int32_t& code) {
    util::Log log(util::Log::Notice);
    log.write("Creating library");
    log.write("library path", path, -1);
    code = 0;
    if (endsWith(path, "prm"))
        return createModelLibrary(path);
    return createModuleLibrary(path, code);
}

Library* LibraryManager::createModelLibrary(const std::string& path) {
    util::DataChunk bytes;
    if (!bytes.loadFile(path))
        return nullptr;
    const util::DataChunk text = bytes.decode();
    util::xml::Element root;
    const int parsed = root.parse(reinterpret_cast<const char*>(text.data()), text.size());
    if (parsed != util::xml::Element::Parsed) {
        // A file cut short, damaged or nested deeper than the reader goes would otherwise give
        // a template of whatever was read before the fault.
        util::Log::instance()->write("Template file is not well-formed XML", parsed,
                                     util::Log::Warning);
        return nullptr;
    }
    const std::string& rootName = root.name();
    if (rootName != "QVT" && rootName != "qvn" && rootName != "QVT_Plugin")
        return nullptr;
    auto* library = new Library(path);
    if (Template::make(library, root, folderOf(path)) == nullptr)
        util::Log::instance()->write("No template in file", path, util::Log::Warning);
    return library;
}

Library* LibraryManager::createModuleLibrary(const std::string& path, int32_t& code) {
    void* module = platform::loadLibraryFromItsFolder(path);
    if (module == nullptr) {
        util::Log::instance()->write("Could not load library on path", path, util::Log::Notice);
        code = CannotLoadModule;
        return nullptr;
    }
    auto getVersion =
        reinterpret_cast<GetModuleVersionFunction>(platform::findSymbol(module, "getVersion"));
    if (getVersion == nullptr) {
        platform::freeLibrary(module);
        code = NoGetVersion;
        return nullptr;
    }
    if (getVersion() != ToolModuleVersion) {
        platform::freeLibrary(module);
        code = WrongVersion;
        return nullptr;
    }
    auto getPlugin = reinterpret_cast<GetPluginFunction>(platform::findSymbol(module, "getPlugin"));
    if (getPlugin == nullptr) {
        platform::freeLibrary(module);
        code = NoGetPlugin;
        return nullptr;
    }
    auto* library = new Library(path, module);
    for (uint32_t index = 0; index < MaxPluginsPerModule; ++index) {
        CCameraPlugin* plugin = getPlugin(index);
        if (plugin == nullptr)
            break;
        addToolToLibrary(library, plugin);
    }
    return library;
}

Tool* LibraryManager::findTool(const std::string& identifier) const {
    for (const Library* library : libraries)
        for (int i = 0; i < library->toolCount(); ++i) {
            Tool* tool = library->tool(i);
            const std::vector<std::string> ids = tool->identifiers();
            if (std::find(ids.begin(), ids.end(), identifier) != ids.end())
                return tool;
        }
    return nullptr;
}

Plugin* LibraryManager::addToolToLibrary(Library* library, CCameraPlugin* plugin) {
    if (library == nullptr || plugin == nullptr)
        return nullptr;
    return new Plugin(library, plugin);
}

void LibraryManager::releaseLostInstances() {
    const std::vector<Library*> snapshot = libraries;
    for (Library* library : snapshot)
        for (int t = 0; t < library->toolCount(); ++t)
            library->tool(t)->releaseInstances();
}

std::vector<Instance*> LibraryManager::allInstances() const {
    std::vector<Instance*> list;
    for (const Library* library : libraries)
        for (int t = 0; t < library->toolCount(); ++t) {
            const Tool* tool = library->tool(t);
            for (int i = 0; i < tool->instanceCount(); ++i)
                list.push_back(tool->instance(i));
        }
    return list;
}

Instance* LibraryManager::findInstance(const std::string& name) const {
    for (Instance* instance : allInstances())
        if (instance->getName() == name)
            return instance;
    return nullptr;
}

Instance* LibraryManager::ownerOfNode(const CoreNode* node) const {
    if (node == nullptr)
        return nullptr;
    for (Instance* instance : allInstances()) {
        const std::vector<CoreNode*> nodes = instance->getNodes();
        if (std::find(nodes.begin(), nodes.end(), node) != nodes.end())
            return instance;
    }
    return nullptr;
}

std::string LibraryManager::makeUniqueName(const std::string& requested,
                                           const Instance* self) const {
    if (requested.empty())
        return {};
    size_t digits = 0;
    while (digits < requested.size() &&
           std::isdigit(static_cast<unsigned char>(requested[requested.size() - 1 - digits])))
        ++digits;
    std::string base = requested.substr(0, requested.size() - digits);
    uint64_t number = 1;
    size_t width = 2;
    if (digits == 0) {
        if (base.back() != '_')
            base += '_';
    } else {
        // Absurdly long digit runs saturate instead of overflowing.
        const std::string run = requested.substr(requested.size() - digits);
        number = run.size() > 18 ? 999999999999999999ull : std::stoull(run);
        width = digits;
    }
    // A set keeps naming linear in the number of instances even when thousands share one base.
    std::unordered_set<std::string> taken;
    for (const Instance* instance : allInstances())
        if (instance != self)
            taken.insert(instance->getName());
    for (;; ++number) {
        std::string digitsText = std::to_string(number);
        if (digitsText.size() < width)
            digitsText.insert(0, width - digitsText.size(), '0');
        const std::string candidate = base + digitsText;
        if (taken.count(candidate) == 0)
            return candidate;
    }
}

Library* LibraryManager::library(int index) const {
    if (index < 0 || index >= libraryCount())
        return nullptr;
    return libraries[static_cast<size_t>(index)];
}

Library* LibraryManager::findLibrary(const std::string& path) const {
    for (Library* library : libraries)
        if (library->getPath() == path)
            return library;
    return nullptr;
}

void LibraryManager::removeLibrary(Library* library) {
    const auto found = std::find(libraries.begin(), libraries.end(), library);
    if (found != libraries.end())
        libraries.erase(found);
}

} // namespace mvk::qvn::core
