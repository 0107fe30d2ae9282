#pragma once
// Holds the link to the host adaptor. The adaptor belongs to the host and is never deleted here.
#include "core/CoreSubSystem.h"

#include <string>

namespace mvk::qvn {
class HostAdaptor;
}

namespace mvk::qvn::core {

class AdaptorManager : public CoreSubSystem {
public:
    explicit AdaptorManager(CoreImplementation* core);
    ~AdaptorManager() override;

    // Stores the adaptor and creates the per-host data folder (user data/data/<host name>).
    void setAdaptor(HostAdaptor* adaptor);
    HostAdaptor* getAdaptor() const { return adaptor; }
    // user data + "/data/" + the host name; empty without an adaptor.
    std::string getHostDataPath() const;

private:
    HostAdaptor* adaptor = nullptr;
};

} // namespace mvk::qvn::core
