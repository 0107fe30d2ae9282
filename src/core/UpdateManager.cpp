#include "core/UpdateManager.h"

namespace mvk::qvn::core {

UpdateManager::UpdateManager(CoreImplementation* core) : CoreSubSystem(core) {}

UpdateManager::~UpdateManager() = default;

void UpdateManager::checkForUpdates() {}

} // namespace mvk::qvn::core
