// The three entry points of the core library; nothing else is exported.
#include "core/Startup.h"
#include "platform/DynamicLibrary.h"

#include <cstdint>

#define QVN_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

// The load notification: remember the library's own module handle.
const bool loaded = [] {
    mvk::qvn::core::setModuleHandle(
        mvk::platform::moduleOf(reinterpret_cast<const void*>(&mvk::qvn::core::attachCore)));
    return true;
}();

} // namespace

QVN_EXPORT uint32_t getVersion() { return mvk::qvn::CoreVersion; }

QVN_EXPORT mvk::qvn::CoreInterface* attach(mvk::qvn::HostAdaptor* adaptor) {
    return mvk::qvn::core::attachCore(adaptor);
}

QVN_EXPORT int32_t detach(mvk::qvn::CoreInterface* core) {
    return mvk::qvn::core::detachCore(core);
}
