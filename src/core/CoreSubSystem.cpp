#include "core/CoreSubSystem.h"

#include "platform/Interaction.h"

#include <algorithm>

namespace mvk::qvn::core {

namespace {

std::vector<CoreSubSystem*>& subsystems() {
    static std::vector<CoreSubSystem*> list;
    return list;
}

bool initialized = false;

} // namespace

CoreSubSystem::CoreSubSystem(CoreImplementation* core) : core(core) {
    if (core != nullptr && !initialized)
        subsystems().push_back(this);
}

CoreImplementation* CoreSubSystem::getCore() const {
    if (core == nullptr)
        return nullptr;
    if (!initialized) {
        platform::showEarlyError("ERROR: Using CORE pointer before being correctly initialized!");
        return nullptr;
    }
    return core;
}

CoreSubSystem::~CoreSubSystem() {
    auto& list = subsystems();
    const auto found = std::find(list.begin(), list.end(), this);
    if (found == list.end())
        return;
    list.erase(found);
    if (list.empty())
        initialized = false;
}

const std::vector<CoreSubSystem*>& CoreSubSystem::registry() { return subsystems(); }

bool CoreSubSystem::isInitialized() { return initialized; }

void CoreSubSystem::setInitialized() { initialized = true; }

} // namespace mvk::qvn::core
