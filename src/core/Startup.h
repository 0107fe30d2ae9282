#pragma once
// Attaching to a host and detaching from it: the order in which the core's foundation, input
// layer and core object come up and go down.
#include "sdk/CoreInterface.h"

namespace mvk::qvn::core {

// The entry points behind the library's exports.
CoreInterface* attachCore(HostAdaptor* adaptor);
int32_t detachCore(CoreInterface* core);

// The module handle of the core library, stored when the library is loaded.
void* moduleHandle();
void setModuleHandle(void* handle);

} // namespace mvk::qvn::core
