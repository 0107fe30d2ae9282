#pragma once
// Owns the root of the tree of tool instances.
#include "core/CoreSubSystem.h"

namespace mvk::qvn::core {

class InstanceReference;

class InstanceManager : public CoreSubSystem {
public:
    explicit InstanceManager(CoreImplementation* core);
    ~InstanceManager() override;

    // Creates the root instance from the "Group" tool.
    void initSubSystem() override;
    InstanceReference* getRoot() const { return root; }
    // Releases the root reference and with it the whole tree.
    void releaseRoot();

private:
    InstanceReference* root = nullptr;
};

} // namespace mvk::qvn::core
