#include "core/libraries/CoreLibrary.h"

#include "core/libraries/LibraryManager.h"
#include "core/plugins/Group.h"
#include "core/plugins/TemplatePlugin.h"
#include "util/Log.h"

namespace mvk::qvn::core {

CoreLibrary::CoreLibrary() : Library("Core") {
    util::Log::instance()->write("Creating internal library", util::Log::Notice);
}

CoreLibrary::~CoreLibrary() {
    util::Log::instance()->write("Destroying internal library", util::Log::Notice);
}

void CoreLibrary::registerBuiltInTools() {
    LibraryManager* manager = LibraryManager::instance();
    for (const char* name : {"template", "PRM", "PRS", "PRC"})
        manager->addToolToLibrary(this, plugins::TemplatePlugin::get(name));
    manager->addToolToLibrary(this, plugins::Group::get());
}

} // namespace mvk::qvn::core
