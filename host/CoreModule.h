#pragma once
// Loads libquorvane-core.so the way a real host adaptor does and reaches its three exports.
#include "sdk/CoreInterface.h"

#include <string>

namespace qvn::host {

class CoreModule {
public:
    CoreModule() = default;
    ~CoreModule();
    CoreModule(const CoreModule&) = delete;
    CoreModule& operator=(const CoreModule&) = delete;

    // Loads the library and looks up its exports; false with error() set on failure.
    bool load(const std::string& path);
    void unload();
    bool isLoaded() const { return module != nullptr; }
    const std::string& error() const { return lastError; }

    uint32_t getVersion() const { return versionFunction(); }
    mvk::qvn::CoreInterface* attach(mvk::qvn::HostAdaptor* adaptor) const {
        return attachFunction(adaptor);
    }
    int32_t detach(mvk::qvn::CoreInterface* core) const { return detachFunction(core); }

    // The core library of the install tree the running program belongs to
    // (<root>/quorvane/bin/<program> -> <root>/quorvane/lib/libquorvane-core.so).
    static std::string defaultPath();

private:
    void* module = nullptr;
    mvk::qvn::CoreGetVersionFunction versionFunction = nullptr;
    mvk::qvn::CoreAttachFunction attachFunction = nullptr;
    mvk::qvn::CoreDetachFunction detachFunction = nullptr;
    std::string lastError;
};

} // namespace qvn::host
