#pragma once
// The update check. It has no behaviour of its own: the check is a worker that ends at once, so
// no thread is started at all.
#include "core/CoreSubSystem.h"
#include "util/xml/Element.h"

namespace mvk::qvn::core {

class UpdateManager : public CoreSubSystem {
public:
    explicit UpdateManager(CoreImplementation* core);
    ~UpdateManager() override;

    void checkForUpdates();

private:
    util::xml::Element updateInfo;
};

} // namespace mvk::qvn::core
