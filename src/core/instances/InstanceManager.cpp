#include "core/instances/InstanceManager.h"

#include "util/Log.h"

namespace mvk::qvn::core {

InstanceManager::InstanceManager(CoreImplementation* core) : CoreSubSystem(core) {
    util::Log section("Constructing Instance manager Core subsystem", util::Log::Notice);
}

InstanceManager::~InstanceManager() {
    util::Log section("DeInitializing Instance manager Core subsystem", util::Log::Notice);
    releaseRoot();
    section.write("Searching and destroying lost plugins");
}

void InstanceManager::initSubSystem() {
    util::Log::instance()->write("initsubsystem: InstanceManager", util::Log::Notice);
    // The root comes from the "Group" tool of the built-in library once tools are loaded.
}

void InstanceManager::releaseRoot() { root = nullptr; }

} // namespace mvk::qvn::core
