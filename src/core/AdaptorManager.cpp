#include "core/AdaptorManager.h"

#include "core/Paths.h"
#include "platform/FileSystem.h"
#include "sdk/HostAdaptor.h"
#include "util/Log.h"

namespace mvk::qvn::core {

AdaptorManager::AdaptorManager(CoreImplementation* core) : CoreSubSystem(core) {
    util::Log section("Constructing Adaptor manager Core subsystem", util::Log::Notice);
}

AdaptorManager::~AdaptorManager() {
    util::Log section("DeInitializing Adaptor manager Core subsystem", util::Log::Notice);
}

void AdaptorManager::setAdaptor(HostAdaptor* newAdaptor) {
    adaptor = newAdaptor;
    if (adaptor != nullptr)
        platform::createFolder(getHostDataPath());
}

std::string AdaptorManager::getHostDataPath() const {
    if (adaptor == nullptr)
        return {};
    return getUserDataPath() + "/data/" + adaptor->getHostName();
}

} // namespace mvk::qvn::core
