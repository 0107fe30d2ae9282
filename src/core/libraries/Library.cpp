#include "core/libraries/Library.h"

#include "core/libraries/LibraryManager.h"
#include "core/libraries/Tool.h"
#include "platform/DynamicLibrary.h"
#include "util/Log.h"

#include <algorithm>

namespace mvk::qvn::core {

Library::Library(std::string libraryPath, void* libraryModule)
    : path(std::move(libraryPath)), name(nameOf(path)), module(libraryModule) {
    LibraryManager::instance()->addLibrary(this);
}

Library::~Library() {
    util::Log log(util::Log::Notice);
    log.write("Destroying library: " + name);
    log.write("Removing tools. Tools in library", static_cast<int32_t>(tools.size()), -1);
    while (!tools.empty()) {
        Tool* last = tools.back();
        tools.pop_back();
        last->release();
    }
    platform::freeLibrary(module);
    module = nullptr;
    log.write("unregistering self from librarymanager");
    if (LibraryManager* manager = LibraryManager::existing())
        manager->removeLibrary(this);
}

void Library::removeTool(Tool* tool) {
    const auto found = std::find(tools.begin(), tools.end(), tool);
    if (found != tools.end())
        tools.erase(found);
}

Tool* Library::tool(int index) const {
    if (index < 0 || index >= toolCount())
        return nullptr;
    return tools[static_cast<size_t>(index)];
}

std::string Library::nameOf(const std::string& path) {
    const size_t slash = path.find_last_of("/\\");
    const size_t start = slash == std::string::npos ? 0 : slash + 1;
    const size_t dot = path.find('.', start);
    return path.substr(start, dot == std::string::npos ? std::string::npos : dot - start);
}

} // namespace mvk::qvn::core
